#include "shell/startup.h"

#include "shell/settings_location.h"
#include "sysinfo/version_info.h"

namespace vx {

std::shared_ptr<TLayoutManagerINIStorage> LayoutStorage;

void CreateLayoutStorage() {
    LayoutStorage = std::make_shared<TLayoutManagerINIStorage>();
    AssignSettingsLocation(*LayoutStorage, ProgramFileName(), ProgramVersionInfo, TStorageQuery{});
    // Writers killed mid-save leave their temporary files behind.
    RemoveStaleTempFiles(LayoutStorage->FileName());
}

}  // namespace vx
