#include "platform/CPuzzleControl.h"

#include "platform/InputEvent.h"
#include "puzzle/CPuzzle.h"

REGISTER_SINGLETON(CPuzzleControl, "maingame", 50);

void CPuzzleControl::Init()
{
    Register("maingame", "puzzle");
}

bool CPuzzleControl::OnMessage(const InputEvent& event)
{
    CPuzzle* puzzle = CPuzzle::Peek();
    return puzzle && puzzle->HandleNamedEvent(event.name);
}
