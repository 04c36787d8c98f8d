// Pictures for looking at a skin: a contact sheet of every bitmap at 1x and
// 4x with its name, size and frame count, and a mock window composed from the
// bitmaps with the margins the INI definition gives (simple nine-part
// drawing), so the parts can be judged together as a person would see them.
#pragma once

#include "Canvas.h"
#include "SkinDefinition.h"

namespace skingen {

Canvas RenderMockWindow(const SkinDefinition& skin);
Canvas RenderContactSheet(const SkinDefinition& skin);

}  // namespace skingen
