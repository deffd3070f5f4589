#include "Hiding.h"

#include <algorithm>

#include "CarrierRecords.h"
#include "DamageGuard.h"
#include "OldMessageWipe.h"
#include "PasswordRules.h"
#include "Thousands.h"

std::int64_t MessageRecordLength(std::int64_t messageLength, Sealing sealing) {
    if (sealing == Sealing::kSealed) {
        return static_cast<std::int64_t>(
            SealedRecordLength(static_cast<std::size_t>(messageLength)));
    }
    return PaddedLength(messageLength);
}

std::int64_t LongestMessageInRecord(std::int64_t recordCapacity, Sealing sealing) {
    if (sealing == Sealing::kSealed) {
        return static_cast<std::int64_t>(LongestSealedMessage(
            static_cast<std::size_t>(std::max<std::int64_t>(recordCapacity, 0))));
    }
    return recordCapacity;
}

std::int64_t LongestMessage(std::int64_t carrierLength, Sealing sealing) {
    return LongestMessageInRecord(MessageCapacity(carrierLength), sealing);
}

HideAssessment AssessHide(std::span<const std::uint8_t> carrier, std::int64_t messageLength,
                          Sealing sealing) {
    HideAssessment assessment;
    assessment.messageLength = messageLength;
    assessment.recordLength = MessageRecordLength(messageLength, sealing);
    assessment.capacity = MessageCapacity(static_cast<std::int64_t>(carrier.size()));
    assessment.longestMessage = LongestMessage(static_cast<std::int64_t>(carrier.size()), sealing);
    assessment.fits = assessment.recordLength <= assessment.capacity;
    if (!assessment.fits) {
        return assessment;
    }
    const CDamageGuard guard(carrier);
    assessment.convertible = guard.Picture().Vouched();
    assessment.couldVisiblyChange = guard.CouldVisiblyChange(assessment.recordLength);
    if (assessment.couldVisiblyChange) {
        assessment.warning = guard.Warning(assessment.recordLength);
    }
    const OldMessageRecord old = FindOldMessageRecord(carrier, guard);
    assessment.oldRecordLength = old.length;
    assessment.wipeEnd = old.wipeEnd;
    const std::int64_t readable =
        old.length - std::max(assessment.recordLength, assessment.wipeEnd);
    if (readable > 0) {
        assessment.wipeShortfall = WipeShortfall(old.length, readable);
    }
    return assessment;
}

std::string WipeShortfall(std::int64_t oldRecordLength, std::int64_t readable) {
    return "This picture holds an earlier hidden message of " + WithThousands(oldRecordLength) +
           " bytes that reaches past the new one, and wiping all of it could visibly change "
           "the picture: its last " +
           WithThousands(readable) + (readable == 1 ? " byte stays" : " bytes stay") + " readable.";
}

std::string MessageTooLong(const HideAssessment& hide) {
    return std::string(kImageVerySmall) + " The message has " +
           (hide.messageCut ? "more than " : "") + WithThousands(hide.messageLength) +
           (hide.messageLength == 1 ? " byte" : " bytes") + "; this picture takes at most " +
           WithThousands(hide.longestMessage) + ".";
}

int ConvertedBits(std::span<const std::uint8_t> carrier) {
    return CBitmapConversion(carrier).OutputBits();
}

std::string PictureIsNoBitmap(std::string_view kind, std::int64_t width, std::int64_t height) {
    return "This is a " + std::string(kind) + " picture (" + std::to_string(width) + "x" +
           std::to_string(height) +
           "), not a bitmap: it cannot carry a message itself, and hiding one in its bytes may "
           "break it.";
}

std::string UnconvertiblePicture(std::string_view kind, std::string_view reason) {
    return "This " + std::string(kind) +
           " picture is not a bitmap: it cannot carry a message itself, and it cannot be "
           "converted: " +
           std::string(reason) + ". Hiding a message in its bytes may break it.";
}

std::string ConvertOffer(int bits) {
    return "Convert makes a " + std::to_string(bits) +
           "-bit copy of the picture that looks the same and takes the message safely; it is "
           "saved under a new name.";
}

std::int64_t HideRecords::MessageRecordLength() const {
    return PaddedLength(static_cast<std::int64_t>(message.size()));
}

ByteSpan HideRecords::Span() const {
    return HideSpan(std::max(MessageRecordLength(), wipeEnd));
}

HideRecords PlainRecords(std::string_view message, std::string_view password) {
    return {StoredForm(std::string(password)), std::string(message)};
}

HideRecords SealedRecords(std::string_view message, std::string_view password, SealLimits limits) {
    return {SealedStoredForm(), SealMessage(message, password, limits)};
}

bool RecordsFit(std::int32_t carrierLength, const HideRecords& records, Reporter& reporter) {
    return CanCurtainString(carrierLength, kPasswordRecordStart, records.stored, reporter) == 1 &&
           CanCurtainString(carrierLength, kMessageRecordStart, records.message, reporter) == 1;
}

bool WriteRecords(const CarrierWindow& carrier, const HideRecords& records, Reporter& reporter) {
    // The wipe goes only where the window reaches: a window short of it is
    // a caller's mistake, refused before anything is written.
    const ByteSpan wiped = MessageBytesSpan(records.MessageRecordLength(), records.wipeEnd);
    if (wiped.first < wiped.end && (wiped.end > std::int64_t{carrier.carrierLength} ||
                                    !carrier.Holds(wiped.first, wiped.end))) {
        return false;
    }
    return RecordsFit(carrier.carrierLength, records, reporter) &&
           CurtainString(carrier, kPasswordRecordStart, records.stored, reporter) == 1 &&
           CurtainString(carrier, kMessageRecordStart, records.message, reporter) == 1 &&
           WipeMessageBytes(carrier, records.MessageRecordLength(), records.wipeEnd);
}
