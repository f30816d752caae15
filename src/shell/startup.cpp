#include "shell/startup.h"

#include "shell/settings_location.h"
#include "sysinfo/version_info.h"

namespace vx {

std::shared_ptr<TLayoutManagerINIStorage> LayoutStorage;

void CreateLayoutStorage() {
    LayoutStorage = std::make_shared<TLayoutManagerINIStorage>();
    AssignSettingsLocation(*LayoutStorage, ProgramFileName(), ProgramVersionInfo, TStorageQuery{});
}

}  // namespace vx
