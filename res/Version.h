#pragma once

// The program's version record (US English, Unicode).
namespace version {
inline constexpr int kFileVersion[4] = {1, 0, 0, 4};
inline constexpr int kProductVersion[4] = {1, 0, 0, 4};
inline constexpr unsigned kFileFlagsMask = 0x3F;
inline constexpr unsigned kFileFlags = 0;
inline constexpr unsigned kFileOs = 4;    // 32-bit Windows in the record's own terms
inline constexpr unsigned kFileType = 1;  // application
inline constexpr unsigned kFileSubtype = 0;
inline constexpr unsigned kLanguage = 0x0409;
inline constexpr unsigned kCodePage = 1200;
inline constexpr const char* kStringBlock = "040904b0";

inline constexpr const char* kCompanyName = "Brimvale Software";
inline constexpr const char* kFileDescription = "Veilnote ";
inline constexpr const char* kFileVersionText = "1, 0, 0, 4";
inline constexpr const char* kInternalName = "Veilnote";
inline constexpr const char* kLegalCopyright = "Copyright (C) 2026 Brimvale Software";
inline constexpr const char* kOriginalFilename = "veilnote";
inline constexpr const char* kProductName = "Veilnote Application";
inline constexpr const char* kProductVersionText = "1, 0, 0, 4";
inline constexpr const char* kComments = "";
inline constexpr const char* kLegalTrademarks = "";
inline constexpr const char* kPrivateBuild = "";
inline constexpr const char* kSpecialBuild = "";

// As the application reports its own version.
inline constexpr const char* kDotted = "1.0.0.4";
}  // namespace version
