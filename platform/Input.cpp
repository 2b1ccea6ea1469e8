// SPDX-License-Identifier: GPL-3.0-or-later
// DirectInput7 and the system keyboard device: 256 key bytes by DirectInput scan code, read from
// the host; each read also shows drawing made straight onto the primary surface.
#include "DirectX.h"
#include "Host.h"
#include "PlatformState.h"

namespace dx {

std::shared_ptr<DirectInputDevice7> DirectInput7::CreateDevice(const std::string& guid) {
    if (guid != "GUID_SysKeyboard") {
        throw PlatformError("CreateDevice: unknown input device \"" + guid + "\"");
    }
    return std::make_shared<DirectInputDevice7>();
}

void DirectInputDevice7::SetCommonDataFormat(int32_t format) {
    if (format != DIFORMAT_KEYBOARD) {
        throw PlatformError("SetCommonDataFormat: only the keyboard format is supported");
    }
}

void DirectInputDevice7::SetCooperativeLevel(int64_t /*hwnd*/, int32_t /*flags*/) {}

void DirectInputDevice7::Acquire() {
    acquired_ = true;
}

void DirectInputDevice7::Unacquire() {
    acquired_ = false;
}

void DirectInputDevice7::GetDeviceStateKeyboard(DIKEYBOARDSTATE& state) {
    if (!acquired_) throw PlatformError("GetDeviceStateKeyboard: the keyboard is not acquired");
    Host& host = CurrentHost();
    auto& platform = detail::State();
    host.PumpEvents();
    // Screens that draw on the primary and then poll the keyboard must become visible here.
    if (platform.primaryDirty && platform.primary != nullptr) {
        platform.primaryDirty = false;
        host.Present(platform.primary->Pixels());
    }
    if (platform.readsSinceFlip < 1000000) ++platform.readsSinceFlip;
    host.ReadKeyboard(state.key.data(), platform.readsSinceFlip);
}

}  // namespace dx
