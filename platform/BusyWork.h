#pragma once

#include <exception>
#include <functional>
#include <optional>
#include <type_traits>
#include <utility>

#include "CString.h"
#include "Wnd.h"

// Runs `work` on a thread of its own while `window` stays alive: it shows a
// busy cursor and `status` (such as "Sealing..."), keeps repainting, and
// ignores the user's input, closing included, so that no second command
// starts before the first is done. Returns when the work has finished. The
// work must not touch the window; it must not throw either (RunWhileBusy
// below carries exceptions over). A null window only waits.
void RunOffUiThread(QWidget* window, const CString& status, const std::function<void()>& work);

// RunOffUiThread for work with a result: returns what `work` returned, or
// rethrows on the UI thread what it threw.
template <typename Work>
std::invoke_result_t<Work&> RunWhileBusy(CWnd& window, const CString& status, Work&& work) {
    using Result = std::invoke_result_t<Work&>;
    std::exception_ptr failure;
    if constexpr (std::is_void_v<Result>) {
        RunOffUiThread(window.GetSafeHwnd(), status, [&] {
            try {
                work();
            } catch (...) {
                failure = std::current_exception();
            }
        });
        if (failure) {
            std::rethrow_exception(failure);
        }
    } else {
        std::optional<Result> result;
        RunOffUiThread(window.GetSafeHwnd(), status, [&] {
            try {
                result.emplace(work());
            } catch (...) {
                failure = std::current_exception();
            }
        });
        if (failure) {
            std::rethrow_exception(failure);
        }
        return std::move(*result);
    }
}
