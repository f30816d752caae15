#include "transfer/curl_library.h"

#include <dlfcn.h>

namespace vx {
namespace {

// The soname of the libcurl the program is built against (libcurl4).
constexpr const char* kSoname = "libcurl.so.4";

struct TLoaded {
    TCurlLibrary api{};
    std::string error;
    bool ok = false;

    TLoaded() {
        void* handle = ::dlopen(kSoname, RTLD_NOW | RTLD_LOCAL);
        if (!handle) {
            error = std::string("The download library could not be loaded: ") + ::dlerror();
            return;
        }
        // Each symbol is looked up under its own name; a missing one means
        // a libcurl too old for the options used here.
        const auto resolve = [&](auto& slot, const char* name) {
            slot = reinterpret_cast<std::remove_reference_t<decltype(slot)>>(::dlsym(handle, name));
            if (!slot && error.empty()) error = std::string("The download library lacks ") + name;
        };
        decltype(&::curl_global_init) globalInit = nullptr;
        resolve(globalInit, "curl_global_init");
        resolve(api.easy_init, "curl_easy_init");
        resolve(api.easy_setopt, "curl_easy_setopt");
        resolve(api.easy_perform, "curl_easy_perform");
        resolve(api.easy_getinfo, "curl_easy_getinfo");
        resolve(api.easy_cleanup, "curl_easy_cleanup");
        resolve(api.easy_strerror, "curl_easy_strerror");
        resolve(api.slist_append, "curl_slist_append");
        resolve(api.slist_free_all, "curl_slist_free_all");
        if (!error.empty()) return;
        if (globalInit(CURL_GLOBAL_DEFAULT) != CURLE_OK) {
            error = "The download library could not be initialised";
            return;
        }
        ok = true;  // the handle is kept open: libcurl's global state lives on
    }
};

}  // namespace

const TCurlLibrary* CurlLibrary(std::string& error) {
    static const TLoaded loaded;
    if (!loaded.ok) {
        error = loaded.error;
        return nullptr;
    }
    return &loaded.api;
}

}  // namespace vx
