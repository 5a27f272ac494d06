#include "SkinSizer.h"

const TClassInfo& TSkinSizer::StaticClass()
{
    static const TClassInfo& Info =
        *new TClassInfo(TClassBuilder<TSkinSizer>("TSkinSizer", TSkinControl::StaticClass()).Build());
    return Info;
}

TSkinSizer::TSkinSizer(TComponent* AOwner) : TSkinControl(AOwner) {}

bool TSkinSizer::BeforeMessage(TMessage& message)
{
    return !AnswerPaint(message) && TSkinControl::BeforeMessage(message);
}

void TSkinSizer::DrawControl(HDC dc, const RECT& rect)
{
    FillSkinColor(dc, rect);
}
