#pragma once

#include <memory>

#include "CString.h"
#include "WinTypes.h"

class QIcon;
class QPixmap;
class QPainter;
class CWnd;

// Image handles are shared and immutable; a null handle is "no image".
using HICON = std::shared_ptr<const QIcon>;
using HCURSOR = HICON;
using HBITMAP = std::shared_ptr<const QPixmap>;
using HDC = QPainter*;

struct CRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

inline constexpr int SM_CXICON = 11;
inline constexpr int SM_CYICON = 12;
int GetSystemMetrics(int index);

inline constexpr UINT IMAGE_BITMAP = 0;
inline constexpr UINT LR_LOADFROMFILE = 0x0010;
inline constexpr UINT LR_CREATEDIBSECTION = 0x2000;

// Loads the bitmap file at `path`, stretched to width x height whatever its
// own proportions; null when the file is not a bitmap that can be read.
HBITMAP LoadImage(const CString& path, UINT type, int width, int height, UINT flags);

// The icon resource `id` of the program, or null.
HICON LoadIconResource(UINT id);

// Painting inside a WM_PAINT handler.
class CPaintDC {
public:
    explicit CPaintDC(CWnd* window);
    ~CPaintDC();
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;

    HDC GetSafeHdc() const;
    void DrawIcon(int x, int y, const HICON& icon);

private:
    std::unique_ptr<QPainter> m_painter;
};
