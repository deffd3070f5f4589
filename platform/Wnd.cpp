#include "Wnd.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>
#include <QTimer>

#include "DataExchange.h"
#include "Dialog.h"
#include "DialogWindow.h"
#include "Interactions.h"
#include "Menu.h"
#include "Resources.h"
#include "TextEncoding.h"
#include "WinApp.h"

CWnd::~CWnd() = default;

int ControlIdOf(const QWidget* widget) {
    bool ok = false;
    const int id = widget ? widget->objectName().toInt(&ok) : 0;
    return ok ? id : 0;
}

QWidget* FindControl(const QWidget* parent, int id) {
    if (!parent)
        return nullptr;
    return parent->findChild<QWidget*>(QString::number(id), Qt::FindDirectChildrenOnly);
}

CWnd* CWnd::GetDlgItem(int id) const {
    QWidget* control = FindControl(m_hWnd, id);
    if (!control)
        return nullptr;
    auto& wrapper = m_items[id];
    if (!wrapper || wrapper->GetSafeHwnd() != control) {
        wrapper = std::make_unique<CWnd>(control);
    }
    return wrapper.get();
}

BOOL CWnd::ShowWindow(int command) {
    if (!m_hWnd)
        return FALSE;
    const BOOL wasVisible = m_hWnd->isVisibleTo(m_hWnd->parentWidget()) ? TRUE : FALSE;
    m_hWnd->setVisible(command != SW_HIDE);
    return wasVisible;
}

BOOL CWnd::EnableWindow(BOOL enable) {
    if (!m_hWnd)
        return FALSE;
    const BOOL wasDisabled = m_hWnd->isEnabled() ? FALSE : TRUE;
    m_hWnd->setEnabled(enable != FALSE);
    return wasDisabled;
}

BOOL CWnd::IsWindowEnabled() const {
    return m_hWnd && m_hWnd->isEnabled() ? TRUE : FALSE;
}

BOOL CWnd::IsWindowVisible() const {
    // Visible as the window's own state says, whether or not the dialog
    // around it is on screen yet.
    if (!m_hWnd)
        return FALSE;
    return m_hWnd->isVisibleTo(m_hWnd->window()) && !m_hWnd->isHidden() ? TRUE : FALSE;
}

CWnd* CWnd::SetFocus() {
    if (m_hWnd)
        m_hWnd->setFocus(Qt::OtherFocusReason);
    return nullptr;
}

BOOL CWnd::HasFocus() const {
    return m_hWnd && m_hWnd->window()->focusWidget() == m_hWnd ? TRUE : FALSE;
}

namespace {
// The text a control shows now, as the user sees it.
QString ShownText(const QWidget* control) {
    if (const auto* edit = qobject_cast<const QLineEdit*>(control))
        return edit->text();
    if (const auto* multiLine = qobject_cast<const QPlainTextEdit*>(control)) {
        return multiLine->toPlainText();
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(control))
        return button->text();
    if (const auto* label = qobject_cast<const QLabel*>(control))
        return label->text();
    return control->windowTitle();
}
}  // namespace

void CWnd::SetAccessibleName(const CString& name) {
    if (m_hWnd)
        m_hWnd->setAccessibleName(BytesToDisplayText(name.Bytes()));
}

void CWnd::SetWindowText(const CString& text) {
    if (!m_hWnd)
        return;
    const QString shown = BytesToDisplayText(text.Bytes());
    if (auto* edit = qobject_cast<QLineEdit*>(m_hWnd)) {
        edit->setText(shown);
    } else if (auto* multiLine = qobject_cast<QPlainTextEdit*>(m_hWnd)) {
        multiLine->setPlainText(shown);
        multiLine->document()->setModified(false);  // as QLineEdit::setText does
    } else if (auto* button = qobject_cast<QAbstractButton*>(m_hWnd)) {
        button->setText(shown);
    } else if (auto* label = qobject_cast<QLabel*>(m_hWnd)) {
        // A static control's text is what it shows, and what a screen
        // reader reads.
        label->setText(shown);
    } else {
        m_hWnd->setWindowTitle(shown);
    }
    // Controls may show text differently from how it came (line ends, for
    // one): what they show now stands for these bytes.
    RememberShownBytes(m_hWnd, text.Bytes(), ShownText(m_hWnd));
}

CString CWnd::GetWindowText() const {
    if (!m_hWnd)
        return {};
    return CString(BytesForShownText(m_hWnd, ShownText(m_hWnd)));
}

BOOL CWnd::IsIconic() const {
    return m_hWnd && m_hWnd->isMinimized() ? TRUE : FALSE;
}

void CWnd::GetClientRect(CRect* rect) const {
    if (!rect)
        return;
    *rect = CRect{};
    if (m_hWnd) {
        rect->right = m_hWnd->width();
        rect->bottom = m_hWnd->height();
    }
}

BOOL CWnd::SetWindowPos(const CWnd*, int x, int y, int cx, int cy, UINT flags) {
    if (!m_hWnd)
        return FALSE;
    if (!(flags & SWP_NOSIZE)) {
        if (m_hWnd->isWindow()) {
            m_hWnd->setFixedSize(cx, cy);
        } else {
            m_hWnd->resize(cx, cy);
        }
    }
    if (!(flags & SWP_NOMOVE))
        m_hWnd->move(x, y);
    return TRUE;
}

void CWnd::DragAcceptFiles(BOOL accept) {
    if (auto* window = qobject_cast<DialogWindow*>(m_hWnd))
        window->AcceptFileDrops(accept != FALSE);
}

HICON CWnd::SetIcon(HICON icon, BOOL bigIcon) {
    HICON& slot = bigIcon ? m_iconBig : m_iconSmall;
    HICON previous = std::exchange(slot, icon);
    if (m_hWnd) {
        QIcon combined;
        for (const HICON& each : {m_iconBig, m_iconSmall}) {
            if (!each)
                continue;
            for (const QSize& size : each->availableSizes()) {
                combined.addPixmap(each->pixmap(size));
            }
        }
        m_hWnd->setWindowIcon(combined);
    }
    return previous;
}

HICON CWnd::GetIcon(BOOL bigIcon) const {
    return bigIcon ? m_iconBig : m_iconSmall;
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    MessageContext context{message, 0, 0, wParam, lParam};
    switch (message) {
        case WM_SYSCOMMAND:
            context.id = static_cast<int>(wParam);
            if (!OnWndMsg(context))
                OnSysCommand(static_cast<UINT>(wParam), lParam);
            return 0;
        case WM_CLOSE:
            if (!OnWndMsg(context))
                OnClose();
            return 0;
        case WM_ICONERASEBKGND:
            if (auto* painter = reinterpret_cast<QPainter*>(wParam); painter && m_hWnd) {
                painter->fillRect(m_hWnd->rect(), m_hWnd->palette().window());
            }
            return 1;
        default:
            OnWndMsg(context);
            return context.result;
    }
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!m_hWnd)
        return FALSE;
    QPointer<QWidget> target = m_hWnd;
    QTimer::singleShot(0, m_hWnd, [this, target, message, wParam, lParam] {
        if (target)
            SendMessage(message, wParam, lParam);
    });
    return TRUE;
}

int CWnd::MessageBox(const CString& text, const CString& caption, UINT type) {
    const CString shownCaption = caption.IsEmpty() ? CString(AfxGetAppName()) : caption;
    return AfxGetApp()->GetInteractions().MessageBox(
        this, MessageBoxRequest::FromType(text, shownCaption, type));
}

CMenu* CWnd::GetSystemMenu(BOOL /*revert*/) {
    if (auto* window = qobject_cast<DialogWindow*>(m_hWnd))
        return window->SystemMenu();
    return nullptr;
}

BOOL CWnd::UpdateData(BOOL saveAndValidate) {
    CDataExchange exchange(this, saveAndValidate);
    DoDataExchange(&exchange);
    return TRUE;
}

void CWnd::DoDataExchange(CDataExchange*) {}

BOOL CWnd::Create(const char* /*className*/, const char* /*windowName*/, DWORD /*style*/,
                  const CRect& /*rect*/, CWnd* /*parent*/, UINT /*id*/) {
    return FALSE;
}

BOOL CWnd::CreateControl(const CLSID& clsid, const char* windowName, DWORD style, const CRect& rect,
                         CWnd* parent, UINT id) {
    CWinApp* app = AfxGetApp();
    QWidget* parentWidget = parent ? parent->GetSafeHwnd() : nullptr;
    if (m_hWnd || !app || !app->ControlContainerEnabled() || !parentWidget)
        return FALSE;
    const HostedControl control = app->Controls().Create(clsid, parentWidget);
    if (!control.widget || !control.unknown)
        return FALSE;
    SetControlUnknown(control.widget, control.unknown.Get());
    control.widget->setObjectName(QString::number(id));
    control.widget->setGeometry(rect.left, rect.top, rect.Width(), rect.Height());
    control.widget->setEnabled(!(style & WS_DISABLED));
    control.widget->setVisible((style & WS_VISIBLE) != 0);
    Attach(control.widget);
    if (windowName)
        SetWindowText(CString(windowName));
    return TRUE;
}

IUnknown* CWnd::GetControlUnknown() const {
    if (!m_hWnd)
        return nullptr;
    return reinterpret_cast<IUnknown*>(m_hWnd->property(kControlUnknownProperty).value<quintptr>());
}

void CWnd::InvokeHelper(DISPID dispid, WORD flags, VARTYPE /*returnType*/, void* returned,
                        const std::vector<VARIANT>& args) {
    IUnknown* unknown = GetControlUnknown();
    if (!unknown)
        return;
    ComPtr<IDispatch> dispatch;
    if (FAILED(unknown->QueryInterface(IID_IDispatch, dispatch.ReceiveVoid())))
        return;
    dispatch->Invoke(dispid, flags, args, static_cast<VARIANT*>(returned));
}

void SetControlUnknown(QWidget* widget, IUnknown* unknown) {
    widget->setProperty(kControlUnknownProperty,
                        QVariant::fromValue(reinterpret_cast<quintptr>(unknown)));
}

void CWnd::OnSysCommand(UINT nID, LPARAM /*lParam*/) {
    if (!m_hWnd)
        return;
    switch (nID & 0xFFF0) {
        case SC_MINIMIZE:
            m_hWnd->showMinimized();
            break;
        case SC_RESTORE:
            m_hWnd->showNormal();
            break;
        case SC_CLOSE:
            SendMessage(WM_CLOSE);
            break;
        default:
            break;
    }
}

void CWnd::OnClose() {
    if (m_hWnd)
        m_hWnd->close();
}
