#include "platform/CDrawing.h"

#include "platform/CDrawings.h"
#include "platform/CGame.h"

void CDrawing::Register(const char* scopeName, const char* passName)
{
    CGame::Instance()->GetScope(scopeName).GetDrawings().Add(this, passName);
}

void CDrawing::RegisterInCurrentScope(const char* passName)
{
    CGame::Instance()->GetCurrentScope().GetDrawings().Add(this, passName);
}

void CDrawing::Unregister(const char* scopeName, const char* passName)
{
    if (CGame* game = CGame::Peek())
        if (CDrawings* drawings = game->GetScope(scopeName).PeekDrawings())
            drawings->Remove(this, passName);
}
