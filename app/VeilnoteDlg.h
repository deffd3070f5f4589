#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <optional>
#include <vector>

#include "Afx.h"
#include "CapacityLine.h"
#include "CarrierFacts.h"
#include "Hiding.h"
#include "SkinInterface.h"
#include "Splash.h"

// The main window: the image view (preview, Open image, Reveal) and the
// message view (message, Load text, Hide), skinned, with About and help.
class CVeilnoteDlg : public CDialog {
public:
    explicit CVeilnoteDlg(CWnd* pParent = nullptr);
    ~CVeilnoteDlg() override;

    // The carrier: every byte of the opened image file. The two are one unit:
    // no carrier means no bytes and length 0.
    std::int32_t m_nImageLength = 0;
    std::unique_ptr<BYTE[]> m_pImageData;

    CString m_strSavePath;   // the file last opened or saved as a carrier
    CString m_strImagePath;  // chosen in the last Open dialog, or named for a converted copy
    ComPtr<ISkin> m_pSkin;
    CTabCtrl m_tabViews;
    CStatic m_picImage;
    // What the open picture takes, worked out once when it is opened: the
    // capacity line then follows the message as it is typed without reading
    // the picture again. A picture that is not a bitmap is measured as the
    // bitmap copy Hide converts it to.
    std::optional<CarrierFacts> m_factsImage;
    CapacityOf m_capacityOf = CapacityOf::kPicture;
    CStatic m_ctlCapacity;
    CString m_strMessage;
    CEdit m_editMessage;  // the message edit, which knows whether the user changed it
    CSplash m_ctlSplash;
    HICON m_hIcon;
    // A file to open as Open image would, once the window is up; set before
    // DoModal (the command line's file).
    CString m_strOpenAtStart;
    CString m_strCaption;  // the template's, named after the file the window holds

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnSelchangeViews(NMHDR* pNMHDR, LRESULT* pResult);
    void OnLoadText();
    void OnHide();
    void OnReveal();
    void OnOpenImage();
    void OnImageView();
    void OnMessageView();
    void OnMessageChanged();
    void OnAbout();
    BOOL OnHelpInfo(HELPINFO* pHelpInfo);
    void OnHelpButton();
    void OnDropFiles(HDROP hDropInfo);
    LRESULT OnOpenAtStart(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

private:
    BOOL SkinFailed();
    // The image view; its picture only once an image has loaded into it.
    void ShowImageView();
    // The image view with its picture control shown even when it is empty.
    void ShowImageViewAndPicture();
    void ShowMessageView();
    // Whether one of these controls has the focus. A view switch hides the
    // other view's controls; a focus on one of them goes to the tab of the
    // view now shown, not on to whatever tab stop follows it.
    bool FocusIsOn(std::initializer_list<int> ids) const;
    // The title and the picture's spoken name say which file the window
    // holds, or that it holds none.
    void NameOpenFile();
    void OpenHelp();
    void DiscardCarrier();
    // The capacity line says how much of the picture the message takes now.
    void ShowCapacity();
    // The carrier changed: its facts are worked out again.
    void ReadImageFacts();
    // No carrier and no preview, Hide and Reveal disabled.
    void ForgetImage();
    // Opens the image at `path` as the carrier, or says why it cannot and
    // leaves the window with no image.
    bool OpenImage(const CString& path);
    // Replaces the message with the text file at `path`, up to its first zero
    // byte; false, with the message as it was, when the file cannot be read.
    bool LoadText(const CString& path);
    // Writes the carrier of `nLength` bytes to `path`, or says why not.
    bool SaveCarrier(const BYTE* pCarrier, std::int32_t nLength, const CString& path) const;
    // The user typed or changed the message, and no saved image holds it.
    bool TypedMessageUnsaved() const;
};
