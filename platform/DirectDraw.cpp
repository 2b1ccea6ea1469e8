// SPDX-License-Identifier: GPL-3.0-or-later
// DirectDraw7 (display mode and surface creation) and the DirectX7 root object's factories.
#include "BmpFile.h"
#include "DirectX.h"
#include "Host.h"
#include "PlatformState.h"

namespace dx {

namespace {

// Surfaces larger than this on a side are refused instead of allocating gigabytes.
constexpr int kMaxSurfaceSide = 16384;

void CheckSize(const char* call, int32_t width, int32_t height) {
    if (width <= 0 || height <= 0 || width > kMaxSurfaceSide || height > kMaxSurfaceSide) {
        throw PlatformError(std::string(call) + ": invalid surface size " + std::to_string(width) +
                            " x " + std::to_string(height));
    }
}

}  // namespace

void DirectDraw7::SetCooperativeLevel(int64_t /*hwnd*/, int32_t /*flags*/) {}

void DirectDraw7::SetDisplayMode(int32_t width, int32_t height, int32_t bpp,
                                 int32_t /*refreshRate*/, int32_t /*flags*/) {
    if (width != kScreenWidth || height != kScreenHeight || bpp != 16) {
        throw PlatformError("SetDisplayMode: only 640 x 480 x 16 is supported, not " +
                            std::to_string(width) + " x " + std::to_string(height) + " x " +
                            std::to_string(bpp));
    }
    CurrentHost().SetDisplayMode(width, height);
}

SurfacePtr DirectDraw7::CreateSurface(const DDSURFACEDESC2& desc) {
    if ((desc.ddsCaps.lCaps & DDSCAPS_PRIMARYSURFACE) != 0) {
        auto primary = std::make_shared<DirectDrawSurface7>(kScreenWidth, kScreenHeight);
        primary->isPrimary_ = true;
        primary->backBuffer_ = std::make_shared<DirectDrawSurface7>(kScreenWidth, kScreenHeight);
        auto& state = detail::State();
        state.primary = primary.get();
        state.primaryDirty = true;  // shown (black) at the next keyboard read or flip
        return primary;
    }
    if ((desc.lFlags & DDSD_WIDTH) == 0 || (desc.lFlags & DDSD_HEIGHT) == 0) {
        throw PlatformError("CreateSurface: an off-screen surface needs a width and a height");
    }
    CheckSize("CreateSurface", desc.lWidth, desc.lHeight);
    return std::make_shared<DirectDrawSurface7>(desc.lWidth, desc.lHeight);
}

SurfacePtr DirectDraw7::CreateSurfaceFromFile(const std::string& path, const DDSURFACEDESC2& desc) {
    if ((desc.ddsCaps.lCaps & DDSCAPS_PRIMARYSURFACE) != 0) {
        throw PlatformError("CreateSurfaceFromFile: cannot load a primary surface: " + path);
    }
    int width = 0;
    int height = 0;
    std::vector<uint16_t> pixels;
    if ((desc.lFlags & DDSD_WIDTH) != 0 && (desc.lFlags & DDSD_HEIGHT) != 0) {
        CheckSize("CreateSurfaceFromFile", desc.lWidth, desc.lHeight);
        width = desc.lWidth;
        height = desc.lHeight;
        if (detail::dryRun) return std::make_shared<DirectDrawSurface7>(width, height);
        pixels = LoadBmp565(path, width, height);
    } else {
        // Without a size the surface takes the picture's own size, as DirectX 7 does.
        Bitmap565 picture = LoadBmp565Native(path);
        CheckSize("CreateSurfaceFromFile", picture.width, picture.height);
        width = picture.width;
        height = picture.height;
        pixels = std::move(picture.pixels);
    }
    auto surface = std::make_shared<DirectDrawSurface7>(width, height);
    std::copy(pixels.begin(), pixels.end(), surface->Pixels());
    return surface;
}

void DirectDraw7::RestoreDisplayMode() {
    CurrentHost().RestoreDisplayMode();
}

std::shared_ptr<DirectDraw7> DirectX7::DirectDrawCreate(const std::string& driver) {
    if (!driver.empty()) {
        throw PlatformError("DirectDrawCreate: unknown display driver \"" + driver + "\"");
    }
    return std::make_shared<DirectDraw7>();
}

std::shared_ptr<DirectInput7> DirectX7::DirectInputCreate() {
    return std::make_shared<DirectInput7>();
}

std::shared_ptr<DirectSound> DirectX7::DirectSoundCreate(const std::string& device) {
    if (!device.empty()) {
        throw PlatformError("DirectSoundCreate: unknown sound device \"" + device + "\"");
    }
    return std::make_shared<DirectSound>();
}

}  // namespace dx
