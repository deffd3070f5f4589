#pragma once

#include <memory>
#include <vector>

#include "Com.h"
#include "Wnd.h"

class DialogWindow;

// A dialog built from a dialog template and run modally. The object outlives
// its window: DoModal creates the window, runs it and destroys it again.
class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);
    ~CDialog() override;

    // Creates the window, initialises it and runs it until EndDialog; the
    // result passed to EndDialog, or -1 when the window cannot be created.
    virtual INT_PTR DoModal();
    void EndDialog(int result);

    UINT TemplateId() const { return m_nIDTemplate; }

    // Turns a rectangle in dialog units into pixels, exactly as the
    // template's controls were placed.
    void MapDialogRect(CRect* rect) const;

    // The steps of a modal run, for whoever runs it (the real run, or a test
    // that drives the dialog itself).
    BOOL CreateModalWindow();
    void RunModalLoop();
    void DestroyModalWindow();
    bool HasEnded() const { return m_bEnded; }
    INT_PTR ModalResult() const { return m_nModalResult; }

    // Routes a command, as a click of control `id` or a key would.
    void SendCommand(int id);

protected:
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    void OnClose() override;

    const MessageMap& GetMessageMap() const override;

private:
    friend class DialogWindow;
    void CallOnInitDialog();

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;
    std::unique_ptr<DialogWindow> m_window;
    std::vector<ComPtr<IUnknown>> m_hostedControls;
    bool m_bEnded = false;
    INT_PTR m_nModalResult = -1;
};
