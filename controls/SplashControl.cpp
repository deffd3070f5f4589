#include "SplashControl.h"

#include <QLoggingCategory>
#include <QPainter>

#include "AccessibleRole.h"
#include "ControlResults.h"
#include "SkinInterface.h"
#include "SplashWindow.h"
#include "SvgArt.h"

namespace {

// Warnings by default; what was loaded, at debug level, only when asked for.
Q_LOGGING_CATEGORY(lcSplash, "veilnote.splash", QtInfoMsg)

// The one argument of a call, or why the call cannot take what it was given.
template <class T>
HRESULT OnlyArgument(const std::vector<VARIANT>& args, const T*& value) {
    if (args.size() != 1)
        return DISP_E_BADPARAMCOUNT;
    value = std::get_if<T>(&args.front());
    return value ? S_OK : DISP_E_TYPEMISMATCH;
}

}  // namespace

SplashBadge::SplashBadge(QWidget* parent) : ControlWidget(parent) {
    // Art, named by the splash file: heard as a picture, not as a control
    // that does something.
    SetAccessibleRole(*this, QAccessible::Graphic);
}

void SplashBadge::SetBadge(const SplashArt* splash) {
    m_badge = splash ? splash->badge : QString();
    m_focus = splash ? splash->badgeFocus : std::nullopt;
    setAccessibleName(splash ? splash->badgeLabel : QString());
    update();
}

void SplashBadge::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!m_badge.isEmpty()) {
        const int side = std::min(width(), height());
        const QImage badge = RenderSvg(m_badge, QSizeF(side, side), PixelRatioOf(painter));
        painter.drawImage(QPointF((width() - side) / 2, (height() - side) / 2), badge);
    }
    if (hasFocus()) {
        constexpr double kRing = 2;
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(m_focus.value_or(palette().color(QPalette::Highlight)), kRing));
        painter.setBrush(Qt::NoBrush);
        const double inset = kRing / 2;
        painter.drawRoundedRect(QRectF(rect()).adjusted(inset, inset, -inset, -inset), 6, 6);
    }
}

SplashControl::SplashControl(SplashBadge* widget) : m_widget(widget) {}

HRESULT SplashControl::QueryInterface(const IID& riid, void** ppvObject) {
    return QueryFor(riid, ppvObject, {IID_IDispatch});
}

HRESULT SplashControl::Invoke(DISPID dispid, std::uint16_t flags, const std::vector<VARIANT>& args,
                              VARIANT* result) {
    if (result)
        *result = VARIANT();
    if (!(flags & DISPATCH_METHOD))
        return DISP_E_MEMBERNOTFOUND;
    if (dispid == DISPID_SPLASH_FILE) {
        const BSTR* path = nullptr;
        const HRESULT checked = OnlyArgument(args, path);
        return FAILED(checked) ? checked : ReadFile(*path);
    }
    if (dispid == DISPID_SPLASH_SHOW) {
        const std::int32_t* milliseconds = nullptr;
        const HRESULT checked = OnlyArgument(args, milliseconds);
        return FAILED(checked) ? checked : Show(*milliseconds);
    }
    return DISP_E_MEMBERNOTFOUND;
}

HRESULT SplashControl::ReadFile(const BSTR& path) {
    const QString file = QString::fromStdU16String(path);
    Loaded<SplashArt> splash = ReadSplashFile(file);
    if (const auto* error = std::get_if<FileError>(&splash)) {
        qCWarning(lcSplash).noquote() << "cannot load splash" << Describe(file, *error);
        m_splash.reset();
        if (m_widget)
            m_widget->SetBadge(nullptr);
        return ResultFor(error->problem);
    }
    m_splash = std::get<SplashArt>(std::move(splash));
    qCDebug(lcSplash).noquote() << "loaded splash" << file;
    if (m_widget)
        m_widget->SetBadge(&*m_splash);
    return S_OK;
}

HRESULT SplashControl::Show(std::int32_t milliseconds) {
    if (milliseconds < 0)
        return E_INVALIDARG;
    if (!m_splash || !m_widget)
        return E_UNEXPECTED;
    if (m_shown)
        m_shown->close();
    const auto duration =
        milliseconds == 0 ? m_splash->duration : std::chrono::milliseconds(milliseconds);
    m_shown = new SplashWindow(*m_widget, *m_splash);  // owned by the badge widget
    m_shown->ShowFor(duration);
    return S_OK;
}

HostedControl CreateSplashControl(QWidget* parent) {
    auto* widget = new SplashBadge(parent);  // owned by the dialog
    widget->setObjectName(QStringLiteral("SplashControl"));
    const ComPtr<SplashControl> object = SplashControl::Create(widget);
    ComPtr<IUnknown> unknown(static_cast<IDispatch*>(object.Get()));
    widget->Hold(unknown);
    return HostedControl{widget, std::move(unknown)};
}
