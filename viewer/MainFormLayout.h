// The main window's stored layout (viewer/MainForm.layout.txt), in the text form of component
// streams; built into the program from that file.
#pragma once

#include <string_view>

namespace zel {

std::string_view MainFormLayout();

}  // namespace zel
