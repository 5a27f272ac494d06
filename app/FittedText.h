// Controls of the main window whose texts are often wider than their place
// (long source paths, failure reasons): a text that does not fit keeps the
// file name it names and ends in an ellipsis, instead of being cut off.
#pragma once

#include "framework/ComCtrls.h"
#include "framework/StdCtrls.h"

#include <commctrl.h>

// A one-line label, transparent and always enabled, as the status label is.
class TStatusLabel : public TLabel {
public:
    using TLabel::TLabel;

protected:
    void Paint() override;
};

// A list in report view whose first column holds paths: the system's list
// cuts a long path at its end, which loses the file name.
class TPathListView : public TListView {
public:
    using TListView::TListView;

protected:
    void WndProc(TMessage& Message) override;

private:
    LRESULT CustomDraw(const NMLVCUSTOMDRAW& Draw);
    // Draws the path of a row again over what the list drew, in the colours
    // the list left in the device context, when it did not fit.
    void FitPath(const NMLVCUSTOMDRAW& Draw);
};
