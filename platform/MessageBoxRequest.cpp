#include "Interactions.h"

namespace {
std::vector<MessageBoxAnswer> AnswersFor(UINT buttons) {
    switch (buttons) {
        case MB_OKCANCEL:
            return {{IDOK, "OK"}, {IDCANCEL, "Cancel"}};
        case MB_YESNOCANCEL:
            return {{IDYES, "&Yes"}, {IDNO, "&No"}, {IDCANCEL, "Cancel"}};
        case MB_YESNO:
            return {{IDYES, "&Yes"}, {IDNO, "&No"}};
        default:
            return {{IDOK, "OK"}};
    }
}
}  // namespace

MessageBoxRequest MessageBoxRequest::FromType(const CString& text, const CString& caption,
                                              UINT type) {
    MessageBoxRequest request{text, caption, type & MB_ICONMASK, AnswersFor(type & MB_TYPEMASK),
                              IDOK};
    // MB_DEFBUTTONn names the n-th button; one past the last means the first.
    const std::size_t position = (type & MB_DEFMASK) >> 8;
    request.defaultAnswer = request.answers[position < request.answers.size() ? position : 0].id;
    return request;
}

int MessageBoxRequest::EscapeAnswer() const {
    for (const int wanted : {IDCANCEL, IDNO}) {
        for (const MessageBoxAnswer& answer : answers) {
            if (answer.id == wanted)
                return wanted;
        }
    }
    return answers.size() == 1 ? answers.front().id : 0;
}
