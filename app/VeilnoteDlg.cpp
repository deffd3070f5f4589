#include "VeilnoteDlg.h"

#include <algorithm>
#include <cctype>
#include <string_view>

#include "AboutDlg.h"
#include "CapacityLine.h"
#include "CarrierFacts.h"
#include "PictureDecoder.h"
#include "PictureKind.h"
#include "VeilnoteApp.h"
#include "resource.h"

namespace {
constexpr const char* kQuitLosesMessage =
    "The message you typed has not been hidden in a saved image. Quit and lose it?";
constexpr const char* kNoPicture = "No picture open";
// The capacity line's colours, to read on the skin's dark well: quiet while
// the message fits safely, amber once Hide would ask, red once it refuses.
constexpr COLORREF kRoomSafe = RGB(0x9A, 0xA3, 0xC7);
constexpr COLORREF kRoomVisibleChange = RGB(0xF2, 0xB6, 0x4C);
constexpr COLORREF kRoomTooLong = RGB(0xFF, 0x6B, 0x6B);
constexpr const char* kHelpNotOpened = "The help page could not be opened. You can find it here:\n";

// Posted by the window to itself: opens m_strOpenAtStart once the window is up,
// so that whatever Open image says stands over it.
constexpr UINT WM_OPENATSTART = WM_APP + 1;

// Named as the Load text dialog offers files: "*.txt", in any case.
bool IsTextFileName(const CString& path) {
    const std::string& name = path.Bytes();
    constexpr std::string_view kExtension = ".txt";
    return name.size() > kExtension.size() &&
           std::equal(kExtension.rbegin(), kExtension.rend(), name.rbegin(),
                      [](char wanted, char got) {
                          return wanted == std::tolower(static_cast<unsigned char>(got));
                      });
}

struct SkinBinding {
    int id;
    const char16_t* element;
};

// Every button is drawn by the skin under its element, in this order.
constexpr SkinBinding kSkinBindings[] = {
    {IDC_IMAGEVIEW, u"buttontab1"},  {IDC_MESSAGEVIEW, u"buttontab2"},
    {IDC_HELPBUTTON, u"HelpButton"}, {IDC_OPENIMAGE, u"Button1"},
    {IDC_LOADTEXT, u"Button2"},      {IDC_REVEAL, u"Button3"},
    {IDC_HIDE, u"Button4"},          {IDC_ABOUT, u"Button5"},
    {IDCANCEL, u"Button6"},
};
}  // namespace

CVeilnoteDlg::CVeilnoteDlg(CWnd* pParent)
    : CDialog(IDD_VEILNOTE_DIALOG, pParent),
      m_strMessage(""),
      m_hIcon(AfxGetApp()->LoadIcon(IDR_MAINFRAME)) {}

CVeilnoteDlg::~CVeilnoteDlg() = default;

void CVeilnoteDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_VIEWS, m_tabViews);
    DDX_Control(pDX, IDC_PICTURE, m_picImage);
    DDX_Text(pDX, IDC_MESSAGE, m_strMessage);
    DDX_Control(pDX, IDC_SPLASH, m_ctlSplash);
    DDX_Control(pDX, IDC_MESSAGE, m_editMessage);
    DDX_Control(pDX, IDC_CAPACITY, m_ctlCapacity);
}

const MessageMap& CVeilnoteDlg::GetMessageMap() const {
    using Map = MessageMapFor<CVeilnoteDlg>;
    static const MessageMap map(
        &CDialog::GetMessageMap(),
        {
            Map::SysCommand(&CVeilnoteDlg::OnSysCommand),
            Map::Paint(&CVeilnoteDlg::OnPaint),
            Map::QueryDragIcon(&CVeilnoteDlg::OnQueryDragIcon),
            Map::Notify(TCN_SELCHANGE, IDC_VIEWS, &CVeilnoteDlg::OnSelchangeViews),
            Map::Clicked(IDC_LOADTEXT, &CVeilnoteDlg::OnLoadText),
            Map::Clicked(IDC_HIDE, &CVeilnoteDlg::OnHide),
            Map::Changed(IDC_MESSAGE, &CVeilnoteDlg::OnMessageChanged),
            Map::Clicked(IDC_REVEAL, &CVeilnoteDlg::OnReveal),
            Map::Clicked(IDC_OPENIMAGE, &CVeilnoteDlg::OnOpenImage),
            Map::Clicked(IDC_IMAGEVIEW, &CVeilnoteDlg::OnImageView),
            Map::Clicked(IDC_MESSAGEVIEW, &CVeilnoteDlg::OnMessageView),
            Map::Clicked(IDC_ABOUT, &CVeilnoteDlg::OnAbout),
            Map::HelpInfo(&CVeilnoteDlg::OnHelpInfo),
            Map::Clicked(IDC_HELPBUTTON, &CVeilnoteDlg::OnHelpButton),
            Map::DropFiles(&CVeilnoteDlg::OnDropFiles),
            Map::Message(WM_OPENATSTART, &CVeilnoteDlg::OnOpenAtStart),
        });
    return map;
}

BOOL CVeilnoteDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_strCaption = GetWindowText();
    NameOpenFile();

    // "About Veilnote..." at the end of the system menu.
    if (CMenu* pSysMenu = GetSystemMenu(FALSE)) {
        CString strAboutMenu;
        strAboutMenu.LoadString(IDS_ABOUTBOX);
        if (!strAboutMenu.IsEmpty()) {
            pSysMenu->AppendMenu(MF_SEPARATOR);
            pSysMenu->AppendMenu(MF_STRING, IDM_ABOUTBOX, strAboutMenu);
        }
    }

    const CString& strResDir = VeilnoteApp().m_strResDir;
    m_ctlSplash.SetSplashFile(strResDir + "/Splash.spl");
    m_ctlSplash.ShowSplash(0);

    const CString strSkinPath = strResDir + "/Veilnote.skn";

    CWnd* pSkinControl = GetDlgItem(IDC_SKIN);
    IUnknown* pUnknown = pSkinControl ? pSkinControl->GetControlUnknown() : nullptr;
    ComPtr<ISkin> pPrevious = std::move(m_pSkin);
    if (pUnknown)
        pUnknown->QueryInterface(IID_ISkin, m_pSkin.ReceiveVoid());
    pPrevious.Release();
    if (!m_pSkin)
        return SkinFailed();

    if (FAILED(m_pSkin->LoadSkin(strSkinPath.AllocSysString())))
        return SkinFailed();
    if (FAILED(m_pSkin->ApplySkin(GetSafeHwnd())))
        return SkinFailed();

    for (const SkinBinding& binding : kSkinBindings) {
        CWnd* pControl = GetDlgItem(binding.id);
        m_pSkin->SetSkinElement(pControl ? pControl->GetSafeHwnd() : nullptr, binding.element);
    }

    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);

    // Nothing to hide in or reveal from until an image is open.
    GetDlgItem(IDC_REVEAL)->EnableWindow(FALSE);
    GetDlgItem(IDC_HIDE)->EnableWindow(FALSE);
    ShowCapacity();

    DragAcceptFiles();
    if (!m_strOpenAtStart.IsEmpty())
        PostMessage(WM_OPENATSTART);

    // FALSE keeps this focus instead of the template's first tab stop, Exit,
    // which Enter would press.
    GetDlgItem(IDC_IMAGEVIEW)->SetFocus();
    return FALSE;
}

LRESULT CVeilnoteDlg::OnOpenAtStart(WPARAM /*wParam*/, LPARAM /*lParam*/) {
    // Whoever names a file at start means to reveal it: Enter then asks for
    // the password.
    if (OpenImage(m_strOpenAtStart))
        GetDlgItem(IDC_REVEAL)->SetFocus();
    return 0;
}

void CVeilnoteDlg::OnDropFiles(HDROP hDropInfo) {
    // Of several files dropped at once the first is taken: the window holds
    // one image and one message.
    CString strPath;
    if (DragQueryFile(hDropInfo, 0, &strPath) == 0)
        return;
    if (IsTextFileName(strPath)) {
        // As Load text, which sits on the message view.
        if (LoadText(strPath))
            ShowMessageView();
        return;
    }
    // As Open image, which sits on the image view.
    ShowImageView();
    OpenImage(strPath);
}

BOOL CVeilnoteDlg::SkinFailed() {
    // The buttons carry no faces of their own: never leave the user an
    // unskinned window.
    MessageBox("Could not load or apply the skin.", {}, MB_OK);
    PostMessage(WM_CLOSE);
    return FALSE;
}

void CVeilnoteDlg::OnOK() {
    // Enter does not close the main window.
}

void CVeilnoteDlg::OnCancel() {
    // Escape, the Cancel button and the close box all end the program.
    if (TypedMessageUnsaved() &&
        AfxMessageBox(kQuitLosesMessage, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
        return;
    CDialog::OnCancel();
}

void CVeilnoteDlg::OnSysCommand(UINT nID, LPARAM lParam) {
    if ((nID & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg dlgAbout;
        dlgAbout.DoModal();
    } else {
        CDialog::OnSysCommand(nID, lParam);
    }
}

void CVeilnoteDlg::OnPaint() {
    if (IsIconic()) {
        CPaintDC dc(this);
        SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);

        const int cxIcon = GetSystemMetrics(SM_CXICON);
        const int cyIcon = GetSystemMetrics(SM_CYICON);
        CRect rect;
        GetClientRect(&rect);
        const int x = (rect.Width() - cxIcon + 1) / 2;
        const int y = (rect.Height() - cyIcon + 1) / 2;
        dc.DrawIcon(x, y, m_hIcon);
    } else {
        CDialog::OnPaint();
    }
}

HCURSOR CVeilnoteDlg::OnQueryDragIcon() {
    return m_hIcon;
}

void CVeilnoteDlg::ShowImageView() {
    const bool bFocusLeaves = FocusIsOn({IDC_MESSAGE, IDC_LOADTEXT, IDC_HIDE});
    if (m_picImage.GetBitmap())
        m_picImage.ShowWindow(SW_SHOW);
    GetDlgItem(IDC_MESSAGE)->ShowWindow(SW_HIDE);
    m_ctlCapacity.ShowWindow(SW_HIDE);
    GetDlgItem(IDC_OPENIMAGE)->ShowWindow(SW_SHOW);
    GetDlgItem(IDC_REVEAL)->ShowWindow(SW_SHOW);
    GetDlgItem(IDC_LOADTEXT)->ShowWindow(SW_HIDE);
    GetDlgItem(IDC_HIDE)->ShowWindow(SW_HIDE);
    if (bFocusLeaves)
        GetDlgItem(IDC_IMAGEVIEW)->SetFocus();
}

void CVeilnoteDlg::ShowImageViewAndPicture() {
    ShowImageView();
    m_picImage.ShowWindow(SW_SHOW);
}

void CVeilnoteDlg::ShowMessageView() {
    const bool bFocusLeaves = FocusIsOn({IDC_OPENIMAGE, IDC_REVEAL});
    m_picImage.ShowWindow(SW_HIDE);
    GetDlgItem(IDC_MESSAGE)->ShowWindow(SW_SHOW);
    m_ctlCapacity.ShowWindow(SW_SHOW);
    GetDlgItem(IDC_OPENIMAGE)->ShowWindow(SW_HIDE);
    GetDlgItem(IDC_REVEAL)->ShowWindow(SW_HIDE);
    GetDlgItem(IDC_LOADTEXT)->ShowWindow(SW_SHOW);
    GetDlgItem(IDC_HIDE)->ShowWindow(SW_SHOW);
    if (bFocusLeaves)
        GetDlgItem(IDC_MESSAGEVIEW)->SetFocus();
}

bool CVeilnoteDlg::FocusIsOn(std::initializer_list<int> ids) const {
    return std::any_of(ids.begin(), ids.end(), [this](int id) {
        const CWnd* pControl = GetDlgItem(id);
        return pControl && pControl->HasFocus();
    });
}

void CVeilnoteDlg::NameOpenFile() {
    if (!m_pImageData) {
        SetWindowText(m_strCaption);
        m_picImage.SetAccessibleName(kNoPicture);
        return;
    }
    // The carrier is the file last opened or saved.
    const CString strFile = m_strSavePath.Mid(m_strSavePath.ReverseFind('/') + 1);
    SetWindowText(strFile + " - " + m_strCaption);
    // Named as the user sees it: a bitmap by its own size, not the preview's.
    const std::span<const std::uint8_t> bytes(m_pImageData.get(),
                                              static_cast<std::size_t>(m_nImageLength));
    const std::optional<PictureSize> size = BitmapSize(bytes);
    CString strSpoken = strFile;
    const PictureHeader picture =
        !size && IsPictureFile(bytes) ? ProbePicture(bytes) : PictureHeader{};
    if (size) {
        strSpoken +=
            ", " + std::to_string(size->width) + " by " + std::to_string(size->height) + " pixels";
    } else if (picture.failure.empty() && picture.width > 0) {
        strSpoken += ", " + picture.kind + " picture, " + std::to_string(picture.width) + " by " +
                     std::to_string(picture.height) + " pixels";
    } else if (!m_picImage.GetBitmap()) {
        strSpoken += ", no preview";
    }
    m_picImage.SetAccessibleName(strSpoken);
}

void CVeilnoteDlg::OnSelchangeViews(NMHDR* /*pNMHDR*/, LRESULT* pResult) {
    switch (m_tabViews.GetCurSel()) {
        case 0:
            ShowImageViewAndPicture();
            break;
        case 1:
            OnMessageView();
            break;
        default:
            break;
    }
    *pResult = 0;
}

void CVeilnoteDlg::OnImageView() {
    ShowImageView();
}

void CVeilnoteDlg::OnMessageView() {
    ShowMessageView();
    // The message view is chosen to write in: what is typed next goes there.
    GetDlgItem(IDC_MESSAGE)->SetFocus();
}

void CVeilnoteDlg::OnMessageChanged() {
    ShowCapacity();
}

void CVeilnoteDlg::ShowCapacity() {
    if (!m_ctlCapacity.GetSafeHwnd())
        return;  // the edit is filled before the line is bound
    // Counted as Hide counts the message: in bytes.
    const CapacityLine line =
        DescribeCapacity(m_factsImage ? &*m_factsImage : nullptr,
                         m_editMessage.GetWindowText().GetLength(), m_capacityOf);
    // The line is a label: a screen reader reads its text as it is shown.
    m_ctlCapacity.SetWindowText(CString(line.text));
    switch (line.room) {
        case MessageRoom::kVisibleChange:
            m_ctlCapacity.SetTextColor(kRoomVisibleChange);
            break;
        case MessageRoom::kTooLong:
            m_ctlCapacity.SetTextColor(kRoomTooLong);
            break;
        case MessageRoom::kNoPicture:
        case MessageRoom::kSafe:
            m_ctlCapacity.SetTextColor(kRoomSafe);
            break;
    }
}

void CVeilnoteDlg::OnAbout() {
    CAboutDlg dlgAbout;
    dlgAbout.DoModal();
}

BOOL CVeilnoteDlg::OnHelpInfo(HELPINFO* /*pHelpInfo*/) {
    OpenHelp();
    return FALSE;
}

void CVeilnoteDlg::OnHelpButton() {
    OpenHelp();
}

void CVeilnoteDlg::OpenHelp() {
    const CString strHelp = VeilnoteApp().m_strResDir + "/Help.html";
    ShellOpen(strHelp, [strHelp] { AfxMessageBox(kHelpNotOpened + strHelp); });
}
