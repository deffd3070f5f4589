// The main window's work: Open image, Load text, Hide (ending in Save) and Reveal.
#include <algorithm>
#include <new>
#include <optional>
#include <span>
#include <vector>

#include "CarrierToBe.h"
#include "Hiding.h"
#include "MessageBoxReporter.h"
#include "PasswordDlg.h"
#include "PictureDecoder.h"
#include "PictureKind.h"
#include "Revealing.h"
#include "SealedCommands.h"
#include "Thousands.h"
#include "VeilnoteDlg.h"
#include "resource.h"

namespace {
constexpr const char* kBitmapFilter = "Bitmap Files (*.bmp)|*.bmp||";
// Open takes the pictures people have, which Hide converts to a bitmap.
constexpr const char* kOpenFilter =
    "Pictures|*.bmp;*.png;*.jpg;*.jpeg;*.webp;*.gif;*.tif;*.tiff|Bitmap Files (*.bmp)|*.bmp|"
    "All Files|*||";
constexpr const char* kTextFilter = "text (*.txt)|*.txt|";
constexpr DWORD kFileDialogFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
constexpr int kPreviewWidth = 330;
constexpr int kPreviewHeight = 218;

constexpr const char* kImageTooLarge =
    "This file is too large to hide a message in: images can be at most 2 GiB - 1 bytes.";
constexpr const char* kNotEnoughMemory = "There is not enough memory to open this file.";
constexpr const char* kTextTooLarge = "This text file is too large to load as a message.";
constexpr int kConvertAnswer = 100;

// "/photos/cat.jpg" becomes "/photos/cat".
CString Stem(const CString& path) {
    const int slash = path.ReverseFind('/');
    const int dot = path.ReverseFind('.');
    return dot > slash ? path.Left(dot) : path;
}
// "/photos/cat.bmp" becomes "/photos/cat-24bit.bmp", or "-32bit.bmp" for a
// copy that keeps transparency.
CString ConvertedName(const CString& path, int bits) {
    return Stem(path) + "-" + CString(std::to_string(bits)) + "bit.bmp";
}
// "/photos/cat.jpg" becomes "/photos/cat.bmp", the copy a picture becomes.
CString BitmapName(const CString& path) {
    return Stem(path) + ".bmp";
}
constexpr const char* kNoMemoryToHide = "There is not enough memory to hide the message.";
constexpr const char* kReplaceTypedMessage =
    "The message you typed has not been hidden in a saved image. Replace it with the revealed "
    "message?";
constexpr const char* kReplaceWithLoadedText =
    "The message you typed has not been hidden in a saved image. Replace it with the loaded "
    "text?";

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

// A copy of `length` bytes, or nothing with a message already shown.
std::unique_ptr<BYTE[]> CopyOf(const BYTE* data, std::int32_t length) {
    std::unique_ptr<BYTE[]> copy;
    try {
        copy = std::make_unique_for_overwrite<BYTE[]>(static_cast<std::size_t>(length));
    } catch (const std::bad_alloc&) {
        AfxMessageBox(kNoMemoryToHide);
        return nullptr;
    }
    std::copy_n(data, length, copy.get());
    return copy;
}

// Says why a Hide could visibly change the picture and asks whether to go
// on anyway: Yes or No, No by default.
bool AskHideAnyway(const CString& warning) {
    return AfxMessageBox(warning + "\n\n" + kHideAnyway,
                         MB_YESNO | MB_DEFBUTTON2 | MB_ICONEXCLAMATION) == IDYES;
}

// Moves a Convert's copy into `converted`; false, after saying why, when the
// picture could not be converted.
bool TakeCopy(ConvertedBitmap copy, ConvertedBitmap& converted) {
    if (copy.file.empty()) {
        AfxMessageBox("The picture cannot be converted: " + copy.failure + ".");
        return false;
    }
    converted = std::move(copy);
    return true;
}

// Whether to go on with a Hide that could visibly change `carrier`, which
// `warning` explains. Asks the user; a picture the converter vouches for is
// offered Convert too, and then `converted` receives the copy to hide in
// instead.
bool AcceptDamageRisk(std::span<const std::uint8_t> carrier, const HideAssessment& hide,
                      const CString& warning, ConvertedBitmap& converted) {
    if (!hide.couldVisiblyChange)
        return true;
    if (!hide.convertible)
        return AskHideAnyway(warning);

    const int answer = AfxAskQuestion(
        warning + "\n\n" + kHideAnyway + " " + ConvertOffer(ConvertedBits(carrier)),
        {{IDYES, "&Yes"}, {IDNO, "&No"}, {kConvertAnswer, "&Convert"}}, IDNO, MB_ICONEXCLAMATION);
    if (answer != kConvertAnswer)
        return answer == IDYES;
    // Converted only when asked for: a big picture's copy costs memory.
    return TakeCopy(ConvertBitmap(carrier), converted);
}

// After the password dialog: with Seal ticked the message record is longer
// than the plain one judged before it. Refuses it, naming both sizes, when
// it does not fit; asks again only when it could visibly change a picture
// the plain one would not, offering Convert as the first question does.
bool AcceptLongerSealedRecord(std::span<const std::uint8_t> image, std::int64_t messageLength,
                              ConvertedBitmap& converted) {
    const HideAssessment sealed = AssessHide(image, messageLength, Sealing::kSealed);
    if (!sealed.fits) {
        AfxMessageBox(CString(MessageTooLong(sealed)));
        return false;
    }
    if (!sealed.couldVisiblyChange ||
        AssessHide(image, messageLength, Sealing::kPlain).couldVisiblyChange)
        return true;
    return AcceptDamageRisk(image, sealed, CString(kSealedTakesMore) + " " + sealed.warning,
                            converted);
}

// A picture that is not a bitmap carries nothing of itself: the message goes
// into a bitmap copy. Asks, naming how large that copy will be, with Convert
// the default since nothing else can work; Yes hides in the file's own bytes
// as before. False when the Hide stops; `converted` holds the copy after
// Convert.
bool AcceptPictureConversion(const PictureHeader& picture, const HideAssessment& plain,
                             std::span<const std::uint8_t> file, ConvertedBitmap& converted) {
    // Whether a picture that may have transparency has any is known only once
    // it is decoded: both sizes are named then.
    const auto copyBytes = [&picture](int bits) {
        return CString(WithThousands(CarrierBitmapLength(picture.width, picture.height, bits)));
    };
    const CString copy = "a 24-bit bitmap copy of " + copyBytes(24) + " bytes" +
                         (picture.mayHaveAlpha ? " (32-bit, " + copyBytes(32) +
                                                     " bytes, if any pixel is transparent)"
                                               : CString());
    const CString question =
        CString(PictureIsNoBitmap(picture.kind, picture.width, picture.height)) +
        " Convert makes " + copy +
        " that looks the same, hides the message there and saves it under a new name.\n\n" +
        kHideAnyway;
    const int answer =
        AfxAskQuestion(question, {{IDYES, "&Yes"}, {IDNO, "&No"}, {kConvertAnswer, "&Convert"}},
                       kConvertAnswer, MB_ICONEXCLAMATION);
    if (answer == IDYES && !plain.fits)
        AfxMessageBox(CString(MessageTooLong(plain)));
    if (answer != kConvertAnswer)
        return answer == IDYES && plain.fits;
    return TakeCopy(ConvertPicture(file), converted);
}
}  // namespace

void CVeilnoteDlg::DiscardCarrier() {
    m_pImageData.reset();
    m_nImageLength = 0;
}

void CVeilnoteDlg::ReadImageFacts() {
    m_factsImage.reset();
    m_capacityOf = CapacityOf::kPicture;
    if (m_pImageData) {
        const std::span<const std::uint8_t> opened(m_pImageData.get(),
                                                   static_cast<std::size_t>(m_nImageLength));
        // Only the headers are read: the copy is made when a Hide needs it.
        if (IsPictureFile(opened)) {
            if (const PictureHeader picture = ProbePicture(opened); picture.failure.empty()) {
                m_factsImage = ReadPictureFacts(opened, picture.width, picture.height);
                m_capacityOf = CapacityOf::kConvertedCopy;
            }
        }
        if (!m_factsImage) {
            m_factsImage = ReadCarrierFacts(opened);
            m_capacityOf = CapacityOf::kPicture;
        }
    }
    ShowCapacity();
}

void CVeilnoteDlg::ForgetImage() {
    DiscardCarrier();
    ReadImageFacts();
    m_picImage.SetBitmap(nullptr);
    GetDlgItem(IDC_REVEAL)->EnableWindow(FALSE);
    GetDlgItem(IDC_HIDE)->EnableWindow(FALSE);
    NameOpenFile();
}

bool CVeilnoteDlg::TypedMessageUnsaved() const {
    return m_editMessage.GetModify() && !m_editMessage.GetWindowText().IsEmpty();
}

void CVeilnoteDlg::OnOpenImage() {
    CFileDialog dlgFile(TRUE, ".bmp", m_strImagePath.GetString(), kFileDialogFlags, kOpenFilter);
    if (dlgFile.DoModal() != IDOK)
        return;
    OpenImage(dlgFile.GetPathName());
}

bool CVeilnoteDlg::OpenImage(const CString& path) {
    m_strImagePath = path;
    m_picImage.SetBitmap(LoadImage(m_strImagePath, IMAGE_BITMAP, kPreviewWidth, kPreviewHeight,
                                   LR_LOADFROMFILE | LR_CREATEDIBSECTION));

    m_strSavePath = m_strImagePath;
    DiscardCarrier();

    // Reading is all an image needs: a hidden message is always saved to a
    // file chosen in the Save dialog. So a read-only image still reveals.
    CFile file;
    std::string error;
    if (!file.Open(m_strSavePath, CFile::modeRead | CFile::typeBinary, &error)) {
        ForgetImage();
        AfxMessageBox("The image could not be opened: " + Reason(error));
        return false;
    }
    std::int32_t nLength = 0;
    std::unique_ptr<BYTE[]> pData = ReadWhole(file, nLength, kImageTooLarge);
    file.Close();
    if (!pData) {
        ForgetImage();
        return false;
    }
    m_pImageData = std::move(pData);
    m_nImageLength = nLength;

    GetDlgItem(IDC_REVEAL)->EnableWindow(TRUE);
    GetDlgItem(IDC_HIDE)->EnableWindow(TRUE);
    m_picImage.ShowWindow(SW_SHOW);
    NameOpenFile();
    ReadImageFacts();
    AfxTrace("opened image " + m_strImagePath + " (" + std::to_string(m_nImageLength) + " bytes)");
    return true;
}

void CVeilnoteDlg::OnLoadText() {
    CFileDialog dlgFile(TRUE, "txt", nullptr, kFileDialogFlags, kTextFilter);
    dlgFile.DoModal();  // after Cancel the path is empty and nothing opens
    LoadText(dlgFile.GetPathName());
}

bool CVeilnoteDlg::LoadText(const CString& path) {
    CFile file;
    if (!file.Open(path, CFile::modeRead | CFile::typeBinary))
        return false;
    std::int32_t nLength = 0;
    const std::unique_ptr<BYTE[]> pText = ReadWhole(file, nLength, kTextTooLarge);
    file.Close();
    if (!pText)
        return false;

    // A message is text, taken byte for byte; a file with a zero byte in it is
    // not text, and would lose everything after that byte.
    const auto* const begin = reinterpret_cast<const char*>(pText.get());
    const std::string_view bytes(begin, static_cast<std::size_t>(nLength));
    if (const std::size_t zero = bytes.find('\0'); zero != std::string_view::npos) {
        AfxMessageBox("This file is not text: it holds a zero byte (at offset " +
                      CString(std::to_string(zero)) +
                      "), and the message would be cut there. Seal it with veilnote-cli hide "
                      "--seal to hide any bytes exactly.");
        return false;
    }
    // Asked only now, so that nothing is asked about a file that cannot be read.
    if (TypedMessageUnsaved() &&
        AfxMessageBox(kReplaceWithLoadedText, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
        return false;
    m_strMessage = CString(bytes);
    UpdateData(FALSE);
    return true;
}

void CVeilnoteDlg::OnHide() {
    UpdateData(TRUE);
    if (m_strMessage.IsEmpty()) {
        AfxMessageBox(kEmptyMessage);
        return;
    }

    // A message that cannot fit even unsealed is refused before any password
    // is asked for, naming both sizes.
    const std::span<const std::uint8_t> opened(m_pImageData.get(),
                                               static_cast<std::size_t>(m_nImageLength));
    const HideAssessment plain = AssessHide(opened, m_strMessage.GetLength(), Sealing::kPlain);
    ConvertedBitmap converted;
    // A picture no decoder here reads is named, with why Convert cannot help.
    const bool isPicture = IsPictureFile(opened);
    const PictureHeader picture = isPicture ? ProbePicture(opened) : PictureHeader{};
    const bool convertsPicture = isPicture && picture.failure.empty();
    if (convertsPicture) {
        if (!AcceptPictureConversion(picture, plain, opened, converted))
            return;
    } else {
        if (!plain.fits) {
            AfxMessageBox(CString(MessageTooLong(plain)));
            return;
        }
        const std::string warning =
            isPicture ? UnconvertiblePicture(picture.kind, picture.failure) : plain.warning;
        if (!AcceptDamageRisk(opened, plain, CString(warning), converted))
            return;
    }
    if (!converted.file.empty()) {
        const HideAssessment onCopy =
            AssessHide(converted.file, m_strMessage.GetLength(), Sealing::kPlain);
        if (!onCopy.fits) {
            AfxMessageBox(CString(MessageTooLong(onCopy)));
            return;
        }
    }

    // The picture itself may hold an earlier message that cannot be wiped
    // whole: the user is told before the password is asked for, and so
    // before Seal is chosen, whose longer record may reach over what the
    // plain one leaves.
    if (converted.file.empty() && !plain.wipeShortfall.empty()) {
        const HideAssessment sealed =
            AssessHide(opened, m_strMessage.GetLength(), Sealing::kSealed);
        const bool sealedLeavesNone = sealed.fits && sealed.wipeShortfall.empty();
        AfxMessageBox(CString(plain.wipeShortfall) +
                          (sealedLeavesNone ? " " + CString(kSealedLeavesNone) : CString()),
                      MB_ICONINFORMATION);
    }

    CPasswordDlg dlgPassword;
    dlgPassword.m_bChooseMode = 1;
    if (dlgPassword.DoModal() == IDCANCEL)
        return;
    if (dlgPassword.m_nSeal == BST_CHECKED) {
        const std::span<const std::uint8_t> judged =
            converted.file.empty() ? opened : std::span<const std::uint8_t>(converted.file);
        ConvertedBitmap convertedForSeal;
        if (!AcceptLongerSealedRecord(judged, m_strMessage.GetLength(), convertedForSeal))
            return;
        if (!convertedForSeal.file.empty())
            converted = std::move(convertedForSeal);
    }
    // After Convert the Hide works on the copy, saved under its own name so
    // that the original file is not replaced by accident.
    const bool isConverted = !converted.file.empty();
    const BYTE* const pImage = isConverted ? converted.file.data() : m_pImageData.get();
    const auto nLength =
        isConverted ? static_cast<std::int32_t>(converted.file.size()) : m_nImageLength;
    const CString strImagePath = !isConverted      ? m_strImagePath
                                 : convertsPicture ? BitmapName(m_strImagePath)
                                                   : ConvertedName(m_strImagePath, converted.bits);
    std::optional<HideRecords> records = RecordsFor(*this, m_strMessage, dlgPassword);
    if (!records)
        return;
    // A converted copy holds nothing of an earlier message.
    records->wipeEnd = isConverted ? 0 : plain.wipeEnd;

    // The records go into a copy: the window's image changes only once the
    // copy has been saved, so a cancelled or failed save leaves no message
    // behind that no file holds.
    std::unique_ptr<BYTE[]> pCarrier = CopyOf(pImage, nLength);
    if (!pCarrier)
        return;
    MessageBoxReporter reporter;
    if (!WriteRecords(WholeCarrier(pCarrier.get(), nLength), *records, reporter)) {
        AfxMessageBox(kOperationAborted);
        return;
    }

    CFileDialog dlgSave(FALSE, ".bmp", strImagePath.GetString(), kFileDialogFlags, kBitmapFilter);
    if (dlgSave.DoModal() != IDOK)
        return;
    m_strSavePath = dlgSave.GetPathName();
    if (!SaveCarrier(pCarrier.get(), nLength, m_strSavePath))
        return;

    m_pImageData = std::move(pCarrier);
    m_nImageLength = nLength;
    m_strImagePath = strImagePath;
    m_editMessage.SetModify(FALSE);  // the typed message is safe in that file
    NameOpenFile();
    ReadImageFacts();  // a converted copy takes more than the picture it came from
}

bool CVeilnoteDlg::SaveCarrier(const BYTE* pCarrier, std::int32_t nLength,
                               const CString& path) const {
    // Written beside the target and renamed over it: a failure leaves any
    // file already there, the opened image included, as it was.
    CAtomicFile file;
    std::string error;
    if (!file.Open(path, &error) ||
        !file.Write(pCarrier, static_cast<std::size_t>(nLength), &error) || !file.Commit(&error)) {
        AfxMessageBox("The image could not be saved to " + path + ": " + Reason(error));
        return false;
    }
    return true;
}

void CVeilnoteDlg::OnReveal() {
    // What the carrier holds, sealed or not, is known before the password is
    // asked for; a plain message is read only once the password is right.
    const CarrierReading reading(m_pImageData.get(), m_nImageLength);
    if (reading.GetKind() == CarrierReading::Kind::kNoRecords) {
        AfxMessageBox(kNoCurtainedData);
        return;
    }
    CPasswordDlg dlgPassword;
    dlgPassword.m_bChooseMode = 0;
    dlgPassword.m_strStored = CString(reading.Stored());
    if (reading.GetKind() == CarrierReading::Kind::kSealed)
        dlgPassword.m_pSealedCarrier = &reading;
    if (dlgPassword.DoModal() == IDCANCEL)
        return;
    // A sealed message was opened by the dialog. A message of blanks reads as
    // an empty one; no message at all leaves the edit be.
    const std::optional<std::string> message =
        dlgPassword.m_pSealedCarrier ? std::optional<std::string>(dlgPassword.m_secMessage.View())
                                     : reading.ReadMessage();
    if (!message) {
        AfxMessageBox(kNoCurtainedData);
        return;
    }
    if (TypedMessageUnsaved() &&
        AfxMessageBox(kReplaceTypedMessage, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
        return;
    m_strMessage = CString(*message);
    UpdateData(FALSE);
    ShowMessageView();
}
