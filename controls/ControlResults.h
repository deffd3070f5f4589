#pragma once

#include "Com.h"
#include "SectionFile.h"

// Failure codes the outside controls return beyond the common ones of Com.h,
// in their usual Windows values so that a caller can tell them apart.
inline constexpr HRESULT E_UNEXPECTED = static_cast<HRESULT>(0x8000FFFFu);  // nothing loaded yet
inline constexpr HRESULT HRESULT_FILE_NOT_FOUND = static_cast<HRESULT>(0x80070002u);
inline constexpr HRESULT HRESULT_READ_FAULT = static_cast<HRESULT>(0x8007001Eu);
inline constexpr HRESULT HRESULT_INVALID_DATA = static_cast<HRESULT>(0x8007000Du);

inline HRESULT ResultFor(FileProblem problem) {
    switch (problem) {
        case FileProblem::Missing:
            return HRESULT_FILE_NOT_FOUND;
        case FileProblem::Unreadable:
            return HRESULT_READ_FAULT;
        case FileProblem::Malformed:
            break;
    }
    return HRESULT_INVALID_DATA;
}
