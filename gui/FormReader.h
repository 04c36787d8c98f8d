// Stored window definitions. A definition is text:
//
//   object Form1: TForm1
//     Caption = 'Quellmark'              (strings in quotes, '' for a quote,
//     Lines.Text = 'a'#13#10'b'           #nn for a character, joined as written)
//     ClientWidth = 599                  (numbers)
//     Align = alTop                      (identifiers: enumerations, booleans, event methods)
//     Picture.Data = {FFD8FFE0...}       (bytes in hex: component data, any length)
//     Options = [xoPreview, xoToolbarBK] (sets: the text between the brackets)
//     object Image1: TImage ... end      (nested components, in creation order)
//   end
//
// Every nested component is owned by the root and handed to its enclosing
// object (ReadChild: a control placed on a container, a menu item under its
// menu). Plain properties are applied through the published-property table,
// bytes through ReadBinaryProperty; all are applied while the components are
// loading, and each is told Loaded() once the whole definition is read.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "gui/Component.h"

namespace fw {

using TComponentFactory = std::function<TComponent*(TComponent* owner)>;

// Classes a definition may name; the framework's own are registered on first use.
void RegisterComponentClass(const std::wstring& className, TComponentFactory factory);

// Reads the definition into `root` (whose class name must match the outer object's).
// Throws std::runtime_error naming the line for a definition that cannot be read.
void ReadDefinition(TComponent& root, std::string_view utf8Text);

}  // namespace fw
