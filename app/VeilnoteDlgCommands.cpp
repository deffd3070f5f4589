// The main window's work: Open image, Load text, Hide (ending in Save) and Reveal.
#include <cstring>
#include <new>
#include <span>

#include "BitmapConverter.h"
#include "CarrierRecords.h"
#include "DamageGuard.h"
#include "MessageBoxReporter.h"
#include "PasswordDlg.h"
#include "VeilnoteDlg.h"
#include "resource.h"

namespace {
constexpr const char* kBitmapFilter = "Bitmap Files (*.bmp)|*.bmp||";
constexpr const char* kTextFilter = "text (*.txt)|*.txt|";
constexpr DWORD kFileDialogFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
constexpr int kPreviewWidth = 330;
constexpr int kPreviewHeight = 218;

constexpr const char* kEmptyMessage = "There is no text to curtain";
constexpr const char* kOperationAborted = "Operation aborted ..     ";
constexpr const char* kImageTooLarge =
    "This file is too large to hide a message in: images can be at most 2 GiB - 1 bytes.";
constexpr const char* kNotEnoughMemory = "There is not enough memory to open this file.";
constexpr const char* kTextTooLarge = "This text file is too large to load as a message.";
constexpr const char* kHideAnyway = "Hide the message anyway?";
constexpr const char* kConvertOffer =
    "Convert makes a 24-bit copy of the picture that looks the same and takes the message "
    "safely; it is saved under a new name.";
constexpr int kConvertAnswer = 100;

// "/photos/cat.bmp" becomes "/photos/cat-24bit.bmp".
CString ConvertedName(const CString& path) {
    const int slash = path.ReverseFind('/');
    const int dot = path.ReverseFind('.');
    const CString stem = dot > slash ? path.Left(dot) : path;
    return stem + "-24bit.bmp";
}

CString Reason(const std::string& error) {
    return error.empty() ? CString("unknown error") : CString(error);
}

// The file's bytes, all of them, or nothing with a message already shown.
std::unique_ptr<BYTE[]> ReadWhole(CFile& file, std::int32_t& length, const char* tooLarge) {
    const std::uint64_t fileLength = file.GetLength();
    if (fileLength > static_cast<std::uint64_t>(kMaxCarrierLength)) {
        AfxMessageBox(tooLarge);
        return nullptr;
    }
    std::unique_ptr<BYTE[]> data;
    try {
        data = std::make_unique_for_overwrite<BYTE[]>(fileLength);
    } catch (const std::bad_alloc&) {
        AfxMessageBox(kNotEnoughMemory);
        return nullptr;
    }
    std::string error;
    const std::size_t got = file.Read(data.get(), fileLength, &error);
    if (got != fileLength) {
        AfxMessageBox("The file could not be read: " +
                      (error.empty() ? CString("it is shorter than it claims") : CString(error)));
        return nullptr;
    }
    length = static_cast<std::int32_t>(fileLength);
    return data;
}
}  // namespace

void CVeilnoteDlg::DiscardCarrier() {
    m_pImageData.reset();
    m_nImageLength = 0;
}

void CVeilnoteDlg::OnOpenImage() {
    CFileDialog dlgFile(TRUE, ".bmp", m_strImagePath.GetString(), kFileDialogFlags, kBitmapFilter);
    if (dlgFile.DoModal() != IDOK)
        return;
    m_strImagePath = dlgFile.GetPathName();

    m_picImage.SetBitmap(LoadImage(m_strImagePath, IMAGE_BITMAP, kPreviewWidth, kPreviewHeight,
                                   LR_LOADFROMFILE | LR_CREATEDIBSECTION));

    m_strSavePath = m_strImagePath;
    DiscardCarrier();

    // Read and write access: a file we could not write back is no carrier.
    CFile file;
    if (!file.Open(m_strSavePath, CFile::modeReadWrite | CFile::typeBinary))
        return;
    std::int32_t nLength = 0;
    std::unique_ptr<BYTE[]> pData = ReadWhole(file, nLength, kImageTooLarge);
    file.Close();
    if (!pData)
        return;
    m_pImageData = std::move(pData);
    m_nImageLength = nLength;

    GetDlgItem(IDC_REVEAL)->EnableWindow(TRUE);
    GetDlgItem(IDC_HIDE)->EnableWindow(TRUE);
    m_picImage.ShowWindow(SW_SHOW);
}

void CVeilnoteDlg::OnLoadText() {
    CFileDialog dlgFile(TRUE, "txt", nullptr, kFileDialogFlags, kTextFilter);
    dlgFile.DoModal();  // after Cancel the path is empty and nothing opens

    CFile file;
    if (!file.Open(dlgFile.GetPathName(), CFile::modeRead | CFile::typeBinary))
        return;
    std::int32_t nLength = 0;
    const std::unique_ptr<BYTE[]> pText = ReadWhole(file, nLength, kTextTooLarge);
    file.Close();
    if (!pText)
        return;

    // The message ends at the first zero byte; nothing else is converted.
    const auto* const begin = reinterpret_cast<const char*>(pText.get());
    const std::string_view bytes(begin, static_cast<std::size_t>(nLength));
    m_strMessage = CString(bytes.substr(0, bytes.find('\0')));
    UpdateData(FALSE);
}

void CVeilnoteDlg::OnHide() {
    UpdateData(TRUE);
    if (m_strMessage.IsEmpty()) {
        AfxMessageBox(kEmptyMessage);
        return;
    }

    if (!AcceptDamageRisk())
        return;

    CPasswordDlg dlgPassword;
    dlgPassword.m_bChooseMode = 1;
    if (dlgPassword.DoModal() == IDCANCEL)
        return;

    // Both records must fit before either is written: a carrier too small for
    // the message keeps the records it had.
    MessageBoxReporter reporter;
    if (CanCurtainString(m_nImageLength, kPasswordRecordStart, dlgPassword.m_strStored, reporter) ==
            -1 ||
        CanCurtainString(m_nImageLength, kMessageRecordStart, m_strMessage, reporter) == -1) {
        AfxMessageBox(kOperationAborted);
        return;
    }
    if (CurtainString(m_pImageData.get(), m_nImageLength, kPasswordRecordStart,
                      dlgPassword.m_strStored, reporter) == -1) {
        AfxMessageBox(kOperationAborted);
        return;
    }
    if (CurtainString(m_pImageData.get(), m_nImageLength, kMessageRecordStart, m_strMessage,
                      reporter) == -1) {
        AfxMessageBox(kOperationAborted);
        return;
    }

    CFileDialog dlgSave(FALSE, ".bmp", m_strImagePath.GetString(), kFileDialogFlags, kBitmapFilter);
    if (dlgSave.DoModal() != IDOK)
        return;
    m_strSavePath = dlgSave.GetPathName();

    // Written beside the target and renamed over it: a failure leaves any
    // file already there, the opened image included, as it was.
    CAtomicFile file;
    std::string error;
    if (!file.Open(m_strSavePath, &error) ||
        !file.Write(m_pImageData.get(), static_cast<std::size_t>(m_nImageLength), &error) ||
        !file.Commit(&error)) {
        AfxMessageBox("The image could not be saved to " + m_strSavePath + ": " + Reason(error));
    }
}

bool CVeilnoteDlg::AcceptDamageRisk() {
    const std::span<const std::uint8_t> carrier(m_pImageData.get(),
                                                static_cast<std::size_t>(m_nImageLength));
    const std::int64_t recordLength = PaddedLength(m_strMessage.GetLength());
    // A message too long for the carrier is refused by the size rule later.
    if (recordLength > MessageCapacity(m_nImageLength))
        return true;
    const CDamageGuard guard(carrier);
    if (!guard.CouldVisiblyChange(recordLength))
        return true;

    const CString warning = guard.Warning(recordLength);
    if (!guard.Picture().Vouched())
        return AfxMessageBox(warning + "\n\n" + kHideAnyway,
                             MB_YESNO | MB_DEFBUTTON2 | MB_ICONEXCLAMATION) == IDYES;

    const int answer = AfxAskQuestion(
        warning + "\n\n" + kHideAnyway + " " + kConvertOffer,
        {{IDYES, "&Yes"}, {IDNO, "&No"}, {kConvertAnswer, "&Convert"}}, IDNO, MB_ICONEXCLAMATION);
    if (answer != kConvertAnswer)
        return answer == IDYES;
    ConvertedBitmap copy = ConvertTo24Bit(carrier);
    if (copy.file.empty()) {
        AfxMessageBox("The picture cannot be converted: " + copy.failure + ".");
        return false;
    }

    // The copy becomes the carrier; Save As proposes its own name, so the
    // original file is not replaced by accident. It looks the same, so the
    // preview stays.
    auto pData = std::make_unique_for_overwrite<BYTE[]>(copy.file.size());
    std::memcpy(pData.get(), copy.file.data(), copy.file.size());
    m_pImageData = std::move(pData);
    m_nImageLength = static_cast<std::int32_t>(copy.file.size());
    m_strImagePath = ConvertedName(m_strImagePath);
    return true;
}

void CVeilnoteDlg::OnReveal() {
    // Whether the format reports a carrier without records depends on its
    // random low bits; the user always gets its one message, once.
    SilentReporter silent;
    const CString strStored(
        ReadCurtainedString(m_pImageData.get(), m_nImageLength, kPasswordRecordStart, silent));
    if (strStored.IsEmpty()) {
        AfxMessageBox(kNoCurtainedData);
        return;
    }

    CPasswordDlg dlgPassword;
    dlgPassword.m_bChooseMode = 0;
    dlgPassword.m_strStored = strStored;
    if (dlgPassword.DoModal() == IDCANCEL)
        return;

    // Only now, with the password verified, is the message read.
    MessageBoxReporter reporter;
    const CurtainedRecord message =
        ReadCurtainedRecord(m_pImageData.get(), m_nImageLength, kMessageRecordStart, reporter);
    if (message.malformed)
        return;  // the message stays as it was
    m_strMessage = CString(message.text);
    UpdateData(FALSE);
}
