#pragma once

#include <memory>

#include "persistence/ini_storage.h"

namespace vx {

// The one settings storage of the process. Created before the main window
// and pointed at the settings file; every layout-aware window shares it.
extern std::shared_ptr<TLayoutManagerINIStorage> LayoutStorage;

// Creates LayoutStorage for the running program (reading ProgramVersionInfo,
// which must be filled already). Opens and creates nothing.
void CreateLayoutStorage();

}  // namespace vx
