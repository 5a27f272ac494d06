#include "FittedText.h"

#include "framework/GdiObjects.h"
#include "skin/controls/CaptionDrawing.h"

#include <string>

namespace {

// The list's own gap between a column's edge and its text.
constexpr int kCellPadding = 2;

int TextWidth(HDC Dc, const std::wstring& Text)
{
    SIZE size{};
    GetTextExtentPoint32W(Dc, Text.c_str(), static_cast<int>(Text.size()), &size);
    return size.cx;
}

// The label says what happens first ("正在转换 ", "转换完成，…") and then
// names a file: the middle of the path goes when what comes before the path
// and the file name with what follows it both fit; otherwise the label keeps
// its start, as the status bar has the whole text.
UINT LabelEllipsis(TCanvas& Canvas, const std::wstring& Text, int Width)
{
    const std::size_t first = Text.find(L'\\');
    if (first == std::wstring::npos)
        return DT_END_ELLIPSIS;
    const std::wstring kept = Text.substr(0, first) + L"..." + Text.substr(Text.rfind(L'\\'));
    return Canvas.TextExtent(kept).cx <= Width ? EllipsisFor(Text) : DT_END_ELLIPSIS;
}

} // namespace

void TStatusLabel::Paint()
{
    TCanvas& canvas = Canvas();
    RECT box{0, 0, Width(), Height()};
    canvas.Brush().SetStyle(bsClear);
    const std::wstring text = Caption();
    canvas.DrawText(text, box, DT_SINGLELINE | DT_NOPREFIX | LabelEllipsis(canvas, text, Width()));
}

void TPathListView::WndProc(TMessage& Message)
{
    if (Message.Msg == CN_NOTIFY && AsPointer<NMHDR>(Message.LParam)->code == NM_CUSTOMDRAW) {
        Message.Result = CustomDraw(*AsPointer<NMLVCUSTOMDRAW>(Message.LParam));
        return;
    }
    TListView::WndProc(Message);
}

LRESULT TPathListView::CustomDraw(const NMLVCUSTOMDRAW& Draw)
{
    switch (Draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
        return CDRF_NOTIFYSUBITEMDRAW;
    case CDDS_ITEMPREPAINT | CDDS_SUBITEM:
        return Draw.iSubItem == 0 ? CDRF_NOTIFYPOSTPAINT : CDRF_DODEFAULT;
    case CDDS_ITEMPOSTPAINT | CDDS_SUBITEM:
        if (Draw.iSubItem == 0)
            FitPath(Draw);
        return CDRF_DODEFAULT;
    default:
        return CDRF_DODEFAULT;
    }
}

void TPathListView::FitPath(const NMLVCUSTOMDRAW& Draw)
{
    const HWND list = Handle();
    const int row = static_cast<int>(Draw.nmcd.dwItemSpec);
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        LVITEMW item{};
        item.iSubItem = 0;
        item.pszText = path.data();
        item.cchTextMax = static_cast<int>(path.size());
        const auto length = static_cast<std::size_t>(
            SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), AsLParam(&item)));
        if (length + 1 < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    RECT cell{};
    cell.top = 0;
    cell.left = LVIR_LABEL;
    if (!SendMessageW(list, LVM_GETSUBITEMRECT, static_cast<WPARAM>(row), AsLParam(&cell)))
        return;
    const HDC dc = Draw.nmcd.hdc;
    RECT text = cell;
    InflateRect(&text, -kCellPadding, 0);
    if (TextWidth(dc, path) <= text.right - text.left)
        return;
    const COLORREF back = GetBkMode(dc) == OPAQUE ? GetBkColor(dc)
                                                  : static_cast<COLORREF>(SendMessageW(list, LVM_GETBKCOLOR, 0, 0));
    const gdi::Brush brush(CreateSolidBrush(back));
    FillRect(dc, &cell, brush.Get());
    const int mode = SetBkMode(dc, TRANSPARENT);
    DrawTextW(dc, path.c_str(), static_cast<int>(path.size()), &text,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | EllipsisFor(path));
    SetBkMode(dc, mode);
}
