// Arithmetic of the display scale, shared by Upvane's dialog (banner, layout after a move to a
// monitor of another scale), the links' fonts and the tests: pixels at a DPI, dialog units,
// and the part of a picture that fills a frame. Portable, so that it is tested without a
// display.
#pragma once

// The DPI of the 100 % scale.
inline constexpr int kDefaultDpi = 96;

// A rectangle as position and size (a dialog template's way).
struct ScaleRect
{
    int x;
    int y;
    int cx;
    int cy;
};

// a * b / c rounded to the nearest integer, halves away from zero, as the system's MulDiv; 0
// when c is 0.
int ScaleMulDiv(int a, int b, int c);

// `nPixels` at `nFromDpi`, at `nToDpi`.
int ScaleToDpi(int nPixels, int nFromDpi, int nToDpi);

// A font height of a LOGFONT (negative: character height; positive: cell height) made for
// `nFromDpi`, made again for `nToDpi` from the same whole point size, as a dialog makes its
// font from the point size of its template: 8 points give -11 at 96, -16 at 144, -21 at 192.
int FontHeightAtDpi(int nHeight, int nFromDpi, int nToDpi);

// A dialog's base units, as the dialog manager derives them from the dialog's font: the
// average width of the letters A-Z and a-z, rounded (cx), and the font's height (cy).
struct DialogBaseUnits
{
    int cx;
    int cy;
};
// `nLettersWidth` is the width of the 52 letters "A…Za…z" in the font, `nFontHeight` its
// height (tmHeight).
DialogBaseUnits BaseUnitsOfFont(int nLettersWidth, int nFontHeight);
// A template rectangle (dialog units) in pixels: position and size mapped each on its own, as
// the dialog manager places controls.
ScaleRect DialogUnitsToPixels(const ScaleRect& rcUnits, DialogBaseUnits units);
// The template rectangle a control placed by DialogUnitsToPixels came from. Exact for every
// font of at least 4 x 8 pixels of base units.
ScaleRect PixelsToDialogUnits(const ScaleRect& rcPixels, DialogBaseUnits units);

// The part of a picture of `nPictureCx` x `nPictureCy` pixels that, stretched to a frame of
// `nFrameCx` x `nFrameCy`, fills all of it without distortion: the picture's full width or
// full height, whichever the frame's proportions allow, cut evenly on the other sides. The
// whole picture when the proportions agree. An empty rectangle for an empty frame or picture.
ScaleRect PictureCutForFrame(int nFrameCx, int nFrameCy, int nPictureCx, int nPictureCy);
