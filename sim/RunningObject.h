// The running PowerPoint's entry in the running object table, under the class it is activated
// by, so that a client can attach to it without starting one (GetActiveObject), as PowerPoint
// registers itself.
#pragma once

#include <cstdint>
#include <mutex>

#include "platform/ComPtr.h"
#include "platform/Platform.h"

namespace pptsim {

class RunningObject {
public:
    // Registers the application object of the instance, in place of any earlier entry.
    void Register(std::uint64_t instance);
    void Revoke();

private:
    void RevokeLocked();

    std::mutex mutex;
    // Registered weakly and kept alive here, so the entry does not keep PowerPoint's server
    // alive on its own.
    ComPtr<IDispatch> application;
    DWORD registration = 0;
};

}  // namespace pptsim
