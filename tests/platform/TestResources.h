#pragma once

inline constexpr unsigned kTestDialogId = 200;
inline constexpr unsigned kTestStringId = 201;
inline constexpr int kLabelId = 300;
inline constexpr int kNameEditId = 301;
inline constexpr int kNotesEditId = 302;
inline constexpr int kHiddenButtonId = 303;
inline constexpr int kDisabledButtonId = 304;
