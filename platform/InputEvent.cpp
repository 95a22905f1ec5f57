#include "platform/InputEvent.h"

#include <cstring>

namespace
{
void CopyCut(char (&target)[InputEvent::kTextLength + 1], const char* text)
{
    const size_t length = text ? strnlen(text, InputEvent::kTextLength) : 0;
    if (length > 0)
        memcpy(target, text, length);
    target[length] = '\0';
}
} // namespace

InputEvent InputEvent::Pointer(Kind kind, const Vector2<float>& position, uint8_t held, uint8_t changed)
{
    InputEvent event;
    event.kind = kind;
    event.position = position;
    event.held = held;
    event.changed = changed;
    return event;
}

InputEvent InputEvent::Key(bool down, uint32_t key, uint32_t modifiers, uint16_t unicode)
{
    InputEvent event;
    event.kind = down ? kKeyDown : kKeyUp;
    event.key = key;
    event.modifiers = modifiers;
    event.unicode = down ? unicode : 0;
    return event;
}

InputEvent InputEvent::Command(const char* name, const char* argument)
{
    InputEvent event;
    event.kind = kCommand;
    CopyCut(event.name, name);
    CopyCut(event.argument, argument);
    return event;
}
