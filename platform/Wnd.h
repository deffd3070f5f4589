#pragma once

#include <map>
#include <memory>
#include <vector>

#include <QPointer>
#include <QWidget>

#include "CString.h"
#include "Com.h"
#include "Graphics.h"
#include "MessageMap.h"
#include "WinTypes.h"

class CDataExchange;
class CMenu;

// A window: a widget reached through the application's own vocabulary.
// A wrapper keeps only the icons set through it and the wrappers GetDlgItem
// hands out; all else lives on the widget, so several wrappers of one widget
// agree on it.
class CWnd : public CCmdTarget {
public:
    CWnd() = default;
    explicit CWnd(HWND window) : m_hWnd(window) {}
    ~CWnd() override;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND GetSafeHwnd() const { return m_hWnd.data(); }
    void Attach(HWND window) { m_hWnd = window; }

    // The control of this window with that ID, or null.
    CWnd* GetDlgItem(int id) const;

    BOOL ShowWindow(int command);
    BOOL EnableWindow(BOOL enable = TRUE);
    BOOL IsWindowEnabled() const;
    BOOL IsWindowVisible() const;
    CWnd* SetFocus();
    // Whether this control is the one its window hands the keyboard to,
    // while the window is active or once it is again.
    BOOL HasFocus() const;
    void SetWindowText(const CString& text);
    CString GetWindowText() const;
    // What screen readers call the window, for one whose text does not say
    // it (a picture, a button that shows only art).
    void SetAccessibleName(const CString& name);
    BOOL IsIconic() const;
    void GetClientRect(CRect* rect) const;
    // Moves and sizes the window in pixels, as `flags` (SWP_NOMOVE,
    // SWP_NOSIZE) allow; a dialog keeps the new size fixed. The Z order is
    // never changed, whatever `insertAfter` says.
    BOOL SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags);

    // Whether files dropped on the window reach it as WM_DROPFILES. Its
    // controls then hand drops of files on to it.
    void DragAcceptFiles(BOOL accept = TRUE);

    HICON SetIcon(HICON icon, BOOL bigIcon);
    HICON GetIcon(BOOL bigIcon) const;

    // Messages that the application sends or posts to windows.
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

    // A message box owned by this window, captioned with the application's
    // name unless a caption is given.
    int MessageBox(const CString& text, const CString& caption = {}, UINT type = MB_OK);

    // The window's system menu; null when it has none.
    CMenu* GetSystemMenu(BOOL revert);

    // Moves text between controls and members: TRUE reads the controls.
    BOOL UpdateData(BOOL saveAndValidate = TRUE);

    // Creates the window as child `id` of `parent` at `rect` (pixels). Only
    // wrappers of hosted controls make their windows so; a plain CWnd fails.
    virtual BOOL Create(const char* className, const char* windowName, DWORD style,
                        const CRect& rect, CWnd* parent, UINT id);

    // ActiveX controls: hosting one of class `clsid` as child `id` of
    // `parent`, the hosted control's object, and automation calls.
    BOOL CreateControl(const CLSID& clsid, const char* windowName, DWORD style, const CRect& rect,
                       CWnd* parent, UINT id);
    IUnknown* GetControlUnknown() const;
    void InvokeHelper(DISPID dispid, WORD flags, VARTYPE returnType, void* returned,
                      const std::vector<VARIANT>& args);

protected:
    virtual void DoDataExchange(CDataExchange* pDX);
    // Default processing of system commands: minimise, restore, close.
    void OnSysCommand(UINT nID, LPARAM lParam);
    // Default painting: the background is already drawn by then.
    void OnPaint() {}
    // What a window does with WM_CLOSE when its map does not take it.
    virtual void OnClose();

private:
    QPointer<QWidget> m_hWnd;
    HICON m_iconBig;
    HICON m_iconSmall;
    mutable std::map<int, std::unique_ptr<CWnd>> m_items;
};

// Where a hosted ActiveX control's IUnknown is found on its widget.
inline constexpr const char* kControlUnknownProperty = "veilnote.unknown";
// Marks `widget` as hosting `unknown`, which the widget keeps alive.
void SetControlUnknown(QWidget* widget, IUnknown* unknown);

// The ID of a dialog control is kept as the widget's objectName.
int ControlIdOf(const QWidget* widget);
QWidget* FindControl(const QWidget* parent, int id);
