#pragma once

#include <exception>

#include "persistence/layout_storage.h"

namespace vx {

// Closes a storage when one save or restore step ends. On the normal path a
// refused write that Close reports reaches the caller; while another error
// is already on its way out, Close still runs (keeping what was written
// before that error) and its own failure is dropped.
class TStorageSession {
public:
    explicit TStorageSession(ILayoutManagerStorage& storage) : FStorage(storage) {}
    TStorageSession(const TStorageSession&) = delete;
    TStorageSession& operator=(const TStorageSession&) = delete;
    ~TStorageSession() noexcept(false) {
        if (std::uncaught_exceptions() > FExceptions) {
            try {
                FStorage.Close();
            } catch (...) {
            }
            return;
        }
        FStorage.Close();
    }

private:
    ILayoutManagerStorage& FStorage;
    int FExceptions = std::uncaught_exceptions();
};

}  // namespace vx
