// TFrmAbout: the about box, a small dialog with a line about the publisher
// and one with the program's version, closed with its caption bar's Close
// button.
#pragma once

#include "framework/Forms.h"
#include "framework/StdCtrls.h"

class TFrmAbout : public TForm {
    VK_CLASS_INFO
public:
    explicit TFrmAbout(TComponent* AOwner);

    TLabel* Label1;
    TLabel* Label2;
};
