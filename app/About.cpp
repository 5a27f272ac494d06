#include "About.h"

const TClassInfo& TFrmAbout::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo("TFrmAbout", &TForm::StaticClass(), {});
    return Info;
}

TFrmAbout::TFrmAbout(TComponent* AOwner) : TForm(AOwner)
{
    SetName(L"FrmAbout");
    SetCaption(L"关于");
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    Font()->SetName(L"宋体");
    Font()->SetCharset(GB2312_CHARSET);
    Font()->SetHeight(-14);
    SetClientSize(309, 60);
    Label1 = new TLabel(this);
    Label1->SetName(L"Label1");
    Label1->SetParent(this);
    Label1->SetLeft(64);
    Label1->SetTop(20);
    Label1->SetCaption(L"联系我们：vidkiln@example.com");
    Label2 = new TLabel(this);
    Label2->SetName(L"Label2");
    Label2->SetParent(this);
    Label2->SetLeft(64);
    Label2->SetTop(38);
    Label2->SetCaption(L"版本 " VIDKILN_VERSION);
}
