#include "DialogBuilder.h"

#include <QApplication>
#include <QCheckBox>
#include <QFont>
#include <QFontMetricsF>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTabBar>

#include <limits>
#include <vector>

#include "AccessibleRole.h"
#include "DialogWindow.h"
#include "FocusRingStyle.h"
#include "PictureBox.h"
#include "Resources.h"
#include "TextEncoding.h"
#include "WinApp.h"
#include "Wnd.h"

namespace {
constexpr const char* kTabStopProperty = "veilnote.tabstop";

QString Text(std::string_view text) {
    return BytesToDisplayText(std::string(text));
}

double ScreenScale() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInchX() / 96.0 : 1.0;
}

// `words` filled into lines no wider than `width` pixels, each line taking
// as many as fit; a word wider than that gets a line of its own.
QStringList FilledLines(const QStringList& words, const QFontMetrics& metrics, int width) {
    QStringList lines;
    QString line;
    for (const QString& word : words) {
        const QString longer = line.isEmpty() ? word : line + ' ' + word;
        if (!line.isEmpty() && metrics.horizontalAdvance(longer) > width) {
            lines << line;
            line = word;
        } else {
            line = longer;
        }
    }
    return lines << line;
}

// `text` broken at spaces into as few lines as fit `width` pixels, and among
// those breaks the one whose lines are most even (the least sum of squared
// room left on each line): filled to the full width, the last line could
// hold one stranded word.
QString WrappedText(const QString& text, const QFontMetrics& metrics, int width) {
    const QStringList words = text.split(' ', Qt::SkipEmptyParts);
    const qsizetype lines = FilledLines(words, metrics, width).size();
    const qsizetype count = words.size();
    if (lines <= 1)
        return words.join(' ');

    constexpr double kNever = std::numeric_limits<double>::infinity();
    // The cost of words [first, end) on one line; a word wider than a line
    // costs nothing on a line of its own.
    const auto lineCost = [&](qsizetype first, qsizetype end) {
        const int used = metrics.horizontalAdvance(words.mid(first, end - first).join(' '));
        if (used > width)
            return end - first == 1 ? 0.0 : kNever;
        const double room = width - used;
        return room * room;
    };
    // least[k][j]: the least cost of the first j words on k lines; start[k][j]:
    // where the last of those lines starts.
    const auto size = static_cast<std::size_t>(count + 1);
    std::vector<std::vector<double>> least(static_cast<std::size_t>(lines + 1),
                                           std::vector<double>(size, kNever));
    std::vector<std::vector<qsizetype>> start(static_cast<std::size_t>(lines + 1),
                                              std::vector<qsizetype>(size, 0));
    least[0][0] = 0;
    for (std::size_t k = 1; k <= static_cast<std::size_t>(lines); ++k) {
        for (qsizetype end = 1; end <= count; ++end) {
            for (qsizetype first = 0; first < end; ++first) {
                const double cost =
                    least[k - 1][static_cast<std::size_t>(first)] + lineCost(first, end);
                if (cost < least[k][static_cast<std::size_t>(end)]) {
                    least[k][static_cast<std::size_t>(end)] = cost;
                    start[k][static_cast<std::size_t>(end)] = first;
                }
            }
        }
    }
    QStringList broken;
    for (qsizetype k = lines, end = count; k > 0; --k) {
        const qsizetype first = start[static_cast<std::size_t>(k)][static_cast<std::size_t>(end)];
        broken.prepend(words.mid(first, end - first).join(' '));
        end = first;
    }
    return broken.join('\n');
}

// Buttons and check boxes draw their keyboard focus as a plain ring. The
// dialog window owns the style, and outlives its controls.
void UseFocusRing(QWidget* control, QWidget* parent) {
    auto* style = parent->findChild<FocusRingStyle*>(QString(), Qt::FindDirectChildrenOnly);
    if (!style) {
        style = new FocusRingStyle;
        style->setParent(parent);
    }
    control->setStyle(style);
}

QWidget* CreateCheckBox(const DialogItemTemplate& item, QWidget* parent) {
    auto* box = new QCheckBox(parent);
    UseFocusRing(box, parent);
    QString text = Text(item.text);
    if (item.style & BS_MULTILINE) {
        // A check box's text wraps within the box, beside its indicator.
        const QStyle* style = box->style();
        const int indicator = style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, box) +
                              style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, box);
        const int width = DialogUnitsToPixels(0, 0, item.cx, 0).width() - indicator;
        text = WrappedText(text, QFontMetrics(parent->font()), width);
    }
    box->setText(text);
    return box;
}

QWidget* CreateButton(const DialogItemTemplate& item, QWidget* parent) {
    if ((item.style & BS_TYPEMASK) == BS_AUTOCHECKBOX)
        return CreateCheckBox(item, parent);
    auto* button = new QPushButton(Text(item.text), parent);
    // Enter belongs to the dialog window, which decides which button it
    // presses; Qt's own choice would differ when the focus is on no button.
    button->setAutoDefault(false);
    button->setDefault((item.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON);
    UseFocusRing(button, parent);
    return button;
}

QWidget* CreateStatic(const DialogItemTemplate& item, QWidget* parent) {
    switch (item.style & SS_TYPEMASK) {
        case SS_BITMAP: {
            auto* picture = new PictureBox(parent);
            SetAccessibleRole(*picture, QAccessible::Graphic);
            return picture;
        }
        case SS_ICON: {
            auto* label = new QLabel(parent);
            const HICON icon =
                LoadIconResource(static_cast<UINT>(std::stoi(std::string(item.text))));
            if (icon)
                label->setPixmap(icon->pixmap(GetSystemMetrics(SM_CXICON)));
            return label;
        }
        default: {
            // Tabs lay text out in columns; a label has no tab stops, so they
            // become a few spaces.
            QString text = Text(item.text);
            text.replace('\t', QStringLiteral("    "));
            auto* label = new QLabel(text, parent);
            label->setTextFormat(Qt::PlainText);
            label->setWordWrap(true);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            return label;
        }
    }
}

QWidget* CreateEdit(const DialogItemTemplate& item, QWidget* parent) {
    const bool framed = (item.style & WS_BORDER) || (item.exStyle & WS_EX_CLIENTEDGE);
    if (item.style & ES_MULTILINE) {
        auto* edit = new QPlainTextEdit(parent);
        edit->setTabChangesFocus(true);
        edit->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        edit->setVerticalScrollBarPolicy((item.style & WS_VSCROLL) ? Qt::ScrollBarAlwaysOn
                                                                   : Qt::ScrollBarAlwaysOff);
        if (!framed)
            edit->setFrameShape(QFrame::NoFrame);
        return edit;
    }
    auto* edit = new QLineEdit(parent);
    edit->setFrame(framed);
    if (item.style & ES_PASSWORD)
        edit->setEchoMode(QLineEdit::Password);
    return edit;
}

QWidget* CreateActiveX(const DialogItemTemplate& item, QWidget* parent, CWinApp& app,
                       std::vector<ComPtr<IUnknown>>& hosted) {
    GUID clsid;
    if (!app.ControlContainerEnabled() || !ParseGuid(item.controlClass, clsid))
        return nullptr;
    HostedControl control = app.Controls().Create(clsid, parent);
    if (!control.widget || !control.unknown)
        return nullptr;
    SetControlUnknown(control.widget, control.unknown.Get());
    hosted.push_back(std::move(control.unknown));
    return control.widget;
}

QWidget* CreateControl(const DialogItemTemplate& item, QWidget* parent, CWinApp& app,
                       std::vector<ComPtr<IUnknown>>& hosted) {
    if (item.controlClass == kButtonClass)
        return CreateButton(item, parent);
    if (item.controlClass == kStaticClass)
        return CreateStatic(item, parent);
    if (item.controlClass == kEditClass)
        return CreateEdit(item, parent);
    if (item.controlClass == kTabControlClass) {
        auto* tabs = new QTabBar(parent);
        tabs->setShape(QTabBar::RoundedNorth);
        return tabs;
    }
    return CreateActiveX(item, parent, app, hosted);
}

// The template's font, or the nearest there is, sized so that its base units
// (the average width of the letters, a quarter of it per dialog unit) are
// those the layout is measured in: text then fits its controls as designed.
QFont DialogFont(const DialogTemplate& dialogTemplate) {
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                                QStringLiteral("DejaVu Sans")});
    QFont font(Text(dialogTemplate.fontName));
    font.setPointSizeF(dialogTemplate.pointSize);
    static const QString kAlphabet =
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const double averageWidth =
        QFontMetricsF(font).horizontalAdvance(kAlphabet) / static_cast<double>(kAlphabet.size());
    const double wanted = DialogUnitsToPixels(0, 0, 4, 0).width();
    if (averageWidth > wanted)
        font.setPointSizeF(dialogTemplate.pointSize * wanted / averageWidth);
    return font;
}

Qt::WindowFlags WindowFlagsFor(const DialogTemplate& dialogTemplate, bool owned) {
    Qt::WindowFlags flags =
        (owned && !(dialogTemplate.exStyle & WS_EX_APPWINDOW)) ? Qt::Dialog : Qt::Window;
    flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (dialogTemplate.style & WS_SYSMENU) {
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    }
    if (dialogTemplate.style & WS_MINIMIZEBOX)
        flags |= Qt::WindowMinimizeButtonHint;
    return flags;
}
}  // namespace

QRect DialogUnitsToPixels(int x, int y, int cx, int cy) {
    const double scale = ScreenScale();
    const auto across = [scale](int units) { return qRound(units * 1.5 * scale); };
    const auto down = [scale](int units) { return qRound(units * 1.625 * scale); };
    return QRect(across(x), down(y), across(cx), down(cy));
}

bool BuildDialog(DialogWindow& window, const DialogTemplate& dialogTemplate, CWinApp& app,
                 std::vector<ComPtr<IUnknown>>& hosted) {
    window.setFont(DialogFont(dialogTemplate));

    window.setWindowFlags(WindowFlagsFor(dialogTemplate, window.parentWidget() != nullptr));
    window.setWindowTitle(Text(dialogTemplate.caption));
    window.setFixedSize(DialogUnitsToPixels(0, 0, dialogTemplate.cx, dialogTemplate.cy).size());
    window.setModal(true);

    if (dialogTemplate.style & WS_SYSMENU) {
        CMenu* menu = window.SystemMenu();
        menu->AppendMenu(MF_STRING, SC_RESTORE, "&Restore");
        if (dialogTemplate.style & WS_MINIMIZEBOX) {
            menu->AppendMenu(MF_STRING, SC_MINIMIZE, "Mi&nimize");
        }
        menu->AppendMenu(MF_SEPARATOR);
        menu->AppendMenu(MF_STRING, SC_CLOSE, "&Close\tAlt+F4");
    }

    QWidget* previousTabStop = nullptr;
    for (const DialogItemTemplate& item : dialogTemplate.items) {
        QWidget* control = CreateControl(item, &window, app, hosted);
        if (!control)
            return false;
        control->setObjectName(QString::number(item.id));
        control->setGeometry(DialogUnitsToPixels(item.x, item.y, item.cx, item.cy));
        control->setHidden(!(item.style & WS_VISIBLE));
        control->setEnabled(!(item.style & WS_DISABLED));

        const bool tabStop = (item.style & WS_TABSTOP) != 0;
        control->setProperty(kTabStopProperty, tabStop);
        if (qobject_cast<QLabel*>(control) || qobject_cast<PictureBox*>(control)) {
            control->setFocusPolicy(Qt::NoFocus);
        } else {
            control->setFocusPolicy(tabStop ? Qt::StrongFocus : Qt::ClickFocus);
        }
        if (tabStop) {
            if (previousTabStop)
                QWidget::setTabOrder(previousTabStop, control);
            previousTabStop = control;
        }
        window.ConnectControl(control);
    }
    return true;
}

void FocusFirstTabStop(QWidget& window) {
    for (QObject* child : window.children()) {
        auto* control = qobject_cast<QWidget*>(child);
        if (control && control->property(kTabStopProperty).toBool() && control->isEnabled() &&
            control->isVisibleTo(&window)) {
            control->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}
