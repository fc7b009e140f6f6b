#include "DisplayScale.h"

namespace {

// Points per inch: font sizes are given in points.
const int kPointsPerInch = 72;

// The 52 letters of the average character width: 26 pairs, each half rounded up.
const int kLetterPairs = 26;

} // namespace

int ScaleMulDiv(int a, int b, int c)
{
    if (c == 0)
        return 0;
    const long long product = static_cast<long long>(a) * b;
    const long long half = (c > 0 ? c : -c) / 2;
    const bool bNegative = (product < 0) != (c < 0);
    const long long magnitude = (product < 0 ? -product : product) + half;
    const long long quotient = magnitude / (c > 0 ? c : -c);
    return static_cast<int>(bNegative ? -quotient : quotient);
}

int ScaleToDpi(int nPixels, int nFromDpi, int nToDpi)
{
    return ScaleMulDiv(nPixels, nToDpi, nFromDpi);
}

int FontHeightAtDpi(int nHeight, int nFromDpi, int nToDpi)
{
    // Through the whole point size: scaling the pixels directly would carry the rounding of
    // the first size into the second (-11 at 96 would give -17 at 144, not the -16 a
    // template's 8 points give).
    const int nPoints = ScaleMulDiv(nHeight, kPointsPerInch, nFromDpi);
    return ScaleMulDiv(nPoints, nToDpi, kPointsPerInch);
}

DialogBaseUnits BaseUnitsOfFont(int nLettersWidth, int nFontHeight)
{
    return {(nLettersWidth / kLetterPairs + 1) / 2, nFontHeight};
}

ScaleRect DialogUnitsToPixels(const ScaleRect& rcUnits, DialogBaseUnits units)
{
    return {ScaleMulDiv(rcUnits.x, units.cx, 4), ScaleMulDiv(rcUnits.y, units.cy, 8),
            ScaleMulDiv(rcUnits.cx, units.cx, 4), ScaleMulDiv(rcUnits.cy, units.cy, 8)};
}

ScaleRect PixelsToDialogUnits(const ScaleRect& rcPixels, DialogBaseUnits units)
{
    // Each unit is at least one pixel, so the nearest unit is the one that was mapped.
    return {ScaleMulDiv(rcPixels.x, 4, units.cx), ScaleMulDiv(rcPixels.y, 8, units.cy),
            ScaleMulDiv(rcPixels.cx, 4, units.cx), ScaleMulDiv(rcPixels.cy, 8, units.cy)};
}

ScaleRect PictureCutForFrame(int nFrameCx, int nFrameCy, int nPictureCx, int nPictureCy)
{
    if (nFrameCx <= 0 || nFrameCy <= 0 || nPictureCx <= 0 || nPictureCy <= 0)
        return {0, 0, 0, 0};
    // Compared as products: frame wider than the picture (in proportion) keeps the width.
    const long long frameWide = static_cast<long long>(nFrameCx) * nPictureCy;
    const long long pictureWide = static_cast<long long>(nPictureCx) * nFrameCy;
    if (frameWide >= pictureWide) {
        const int cy = ScaleMulDiv(nPictureCx, nFrameCy, nFrameCx);
        return {0, (nPictureCy - cy) / 2, nPictureCx, cy};
    }
    const int cx = ScaleMulDiv(nPictureCy, nFrameCx, nFrameCy);
    return {(nPictureCx - cx) / 2, 0, cx, nPictureCy};
}
