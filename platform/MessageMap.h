#pragma once

#include <functional>
#include <initializer_list>
#include <vector>

#include "DropFiles.h"
#include "Graphics.h"
#include "Messages.h"
#include "WinTypes.h"

class CCmdTarget;

// One message on its way to a handler, and the slot for the handler's result.
struct MessageContext {
    explicit MessageContext(UINT message_, UINT code_ = 0, int id_ = 0, WPARAM wParam_ = 0,
                            LPARAM lParam_ = 0)
        : message(message_), code(code_), id(id_), wParam(wParam_), lParam(lParam_) {}

    UINT message = 0;
    UINT code = 0;  // notification code of WM_COMMAND / WM_NOTIFY
    int id = 0;     // control ID, or the system command
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    void* data = nullptr;  // NMHDR* or HELPINFO*, by message
    LRESULT result = 0;
    HCURSOR cursor;  // result of WM_QUERYDRAGICON
};

struct MessageMapEntry {
    UINT message;
    UINT code;
    int id;  // kAnyId matches every source
    std::function<void(CCmdTarget&, MessageContext&)> call;
};

inline constexpr int kAnyId = -0x7FFF;

// A class's message map: its own entries, then its base class's map.
class MessageMap {
public:
    MessageMap(const MessageMap* base, std::initializer_list<MessageMapEntry> entries)
        : m_base(base), m_entries(entries) {}

    const MessageMapEntry* Find(UINT message, UINT code, int id) const;

private:
    const MessageMap* m_base;
    std::vector<MessageMapEntry> m_entries;
};

// Entries for handlers of class T. Each takes a member function of exactly
// the signature its message calls for, so a wrong handler does not compile.
template <class T>
struct MessageMapFor {
    static MessageMapEntry Clicked(int id, void (T::*handler)()) {
        return {WM_COMMAND, BN_CLICKED, id,
                [handler](CCmdTarget& target, MessageContext&) { (Self(target).*handler)(); }};
    }
    // The text of edit control `id` changed, by the user or the program.
    static MessageMapEntry Changed(int id, void (T::*handler)()) {
        return {WM_COMMAND, EN_CHANGE, id,
                [handler](CCmdTarget& target, MessageContext&) { (Self(target).*handler)(); }};
    }
    static MessageMapEntry Notify(UINT code, int id, void (T::*handler)(NMHDR*, LRESULT*)) {
        return {WM_NOTIFY, code, id, [handler](CCmdTarget& target, MessageContext& context) {
                    (Self(target).*handler)(static_cast<NMHDR*>(context.data), &context.result);
                }};
    }
    static MessageMapEntry SysCommand(void (T::*handler)(UINT, LPARAM)) {
        return {WM_SYSCOMMAND, 0, kAnyId, [handler](CCmdTarget& target, MessageContext& context) {
                    (Self(target).*handler)(static_cast<UINT>(context.wParam), context.lParam);
                }};
    }
    static MessageMapEntry Paint(void (T::*handler)()) {
        return {WM_PAINT, 0, kAnyId,
                [handler](CCmdTarget& target, MessageContext&) { (Self(target).*handler)(); }};
    }
    static MessageMapEntry QueryDragIcon(HCURSOR (T::*handler)()) {
        return {WM_QUERYDRAGICON, 0, kAnyId,
                [handler](CCmdTarget& target, MessageContext& context) {
                    context.cursor = (Self(target).*handler)();
                }};
    }
    static MessageMapEntry HelpInfo(BOOL (T::*handler)(HELPINFO*)) {
        return {WM_HELP, 0, kAnyId, [handler](CCmdTarget& target, MessageContext& context) {
                    context.result = (Self(target).*handler)(static_cast<HELPINFO*>(context.data));
                }};
    }

    static MessageMapEntry DropFiles(void (T::*handler)(HDROP)) {
        return {WM_DROPFILES, 0, kAnyId, [handler](CCmdTarget& target, MessageContext& context) {
                    (Self(target).*handler)(static_cast<HDROP>(context.data));
                }};
    }
    // A message of the window's own (WM_APP and above).
    static MessageMapEntry Message(UINT message, LRESULT (T::*handler)(WPARAM, LPARAM)) {
        return {message, 0, kAnyId, [handler](CCmdTarget& target, MessageContext& context) {
                    context.result = (Self(target).*handler)(context.wParam, context.lParam);
                }};
    }

private:
    static T& Self(CCmdTarget& target) { return static_cast<T&>(target); }
};

// Anything that receives messages through a message map.
class CCmdTarget {
public:
    virtual ~CCmdTarget() = default;

    // Routes the message to the first matching entry; false when none matches.
    bool OnWndMsg(MessageContext& context);

protected:
    virtual const MessageMap& GetMessageMap() const;
};

// Declares a class's own message map, defined in its source file.
#define DECLARE_MESSAGE_MAP() \
protected:                    \
    const MessageMap& GetMessageMap() const override;
