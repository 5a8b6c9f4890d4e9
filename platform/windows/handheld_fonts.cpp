#include "platform/windows/handheld_fonts.h"

#include <algorithm>
#include <cmath>
#include <cwctype>

namespace mirabo::windows {

namespace {

// The handheld's faces and, for each, the faces that stand in for it, tried
// in order. Names are compared without regard to case.
struct FaceStandIns {
    const wchar_t* face;
    const wchar_t* standIns[5];
};

// The Japanese names, written with escapes: "ＭＳ ゴシック", "ＭＳ Ｐゴシック",
// "IPAゴシック" and "IPAPゴシック".
const wchar_t kGothic[] = L"\uFF2D\uFF33 \u30B4\u30B7\u30C3\u30AF";
const wchar_t kPGothic[] = L"\uFF2D\uFF33 \uFF30\u30B4\u30B7\u30C3\u30AF";
const wchar_t kIpaGothic[] = L"IPA\u30B4\u30B7\u30C3\u30AF";
const wchar_t kIpaPGothic[] = L"IPAP\u30B4\u30B7\u30C3\u30AF";

// clang-format off
const FaceStandIns kFaces[] = {
    {kGothic,             {kGothic, L"MS Gothic", L"IPAGothic", kIpaGothic, L"Noto Sans Mono CJK JP"}},
    {L"MS Gothic",        {L"MS Gothic", kGothic, L"IPAGothic", kIpaGothic, L"Noto Sans Mono CJK JP"}},
    {kPGothic,            {kPGothic, L"MS PGothic", L"IPAPGothic", kIpaPGothic, L"Yu Gothic"}},
    {L"MS PGothic",       {L"MS PGothic", kPGothic, L"IPAPGothic", kIpaPGothic, L"Yu Gothic"}},
    {L"MS UI Gothic",     {L"MS UI Gothic", L"IPAPGothic", kIpaPGothic, L"Yu Gothic UI", L"Meiryo UI"}},
    {L"System",           {L"MS UI Gothic", L"IPAPGothic", kIpaPGothic, L"Yu Gothic UI", L"Meiryo UI"}},
};
// clang-format on

bool SameFace(const std::wstring& a, const wchar_t* b) { return _wcsicmp(a.c_str(), b) == 0; }

int CALLBACK NoteFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool Installed(const wchar_t* face) {
    LOGFONTW query = {};
    query.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(query.lfFaceName, face, LF_FACESIZE);
    bool found = false;
    HDC dc = GetDC(NULL);
    EnumFontFamiliesExW(dc, &query, NoteFound, reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(NULL, dc);
    return found;
}

std::wstring MessageFace() {
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof(metrics);
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0) &&
        metrics.lfMessageFont.lfFaceName[0] != 0) {
        return metrics.lfMessageFont.lfFaceName;
    }
    return L"MS Shell Dlg";
}

HFONT CreateFace(const std::wstring& face, int pixelHeight, int weight) {
    return CreateFontW(-pixelHeight, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                       face.c_str());
}

}  // namespace

std::wstring FaceForHandheld(const std::wstring& face) {
    if (face.empty() || SameFace(face, L"MS Shell Dlg")) return MessageFace();
    for (const FaceStandIns& entry : kFaces) {
        if (!SameFace(face, entry.face)) continue;
        for (const wchar_t* standIn : entry.standIns) {
            if (standIn != nullptr && Installed(standIn)) return standIn;
        }
        return SameFace(face, L"System") ? MessageFace() : entry.standIns[0];
    }
    return face;
}

int HandheldPixelHeight(int pointSize, double scale) {
    int devicePixels = MulDiv(pointSize, 96, 72);
    if (devicePixels <= 0) devicePixels = 12;
    return std::max(1, static_cast<int>(std::lround(devicePixels * scale)));
}

int AverageCharWidth(HFONT font) {
    static const wchar_t kLetters[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    HDC dc = GetDC(NULL);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE size = {};
    GetTextExtentPoint32W(dc, kLetters, 52, &size);
    SelectObject(dc, old);
    ReleaseDC(NULL, dc);
    return std::max(1, static_cast<int>((size.cx / 26 + 1) / 2));
}

DialogFont CreateDialogFont(const std::wstring& face, int pointSize, double scale) {
    const bool system = face.empty() || SameFace(face, L"System");
    const std::wstring installed = FaceForHandheld(face);
    const int cell = HandheldPixelHeight(pointSize, scale);
    DialogFont result;
    int height = cell;
    result.font = CreateFace(installed, height, FW_NORMAL);
    if (system) {
        const int halfCell = std::max(1, (cell + 1) / 2);
        while (AverageCharWidth(result.font) > halfCell && height > halfCell) {
            DeleteObject(result.font);
            result.font = CreateFace(installed, --height, FW_NORMAL);
        }
    }
    result.baseX = AverageCharWidth(result.font);
    result.baseY = cell;
    return result;
}

HFONT CreateShellFont(double scale, bool bold) {
    return CreateFace(FaceForHandheld(L"MS UI Gothic"), HandheldPixelHeight(9, scale),
                      bold ? FW_BOLD : FW_NORMAL);
}

}  // namespace mirabo::windows
