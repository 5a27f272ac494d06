// TFrmAbout: the about box, a small dialog with one line about the
// publisher, closed with its caption bar's Close button.
#pragma once

#include "framework/Forms.h"
#include "framework/StdCtrls.h"

class TFrmAbout : public TForm {
    VK_CLASS_INFO
public:
    explicit TFrmAbout(TComponent* AOwner);

    TLabel* Label1;
};
