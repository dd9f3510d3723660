// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the lighting engine needs from the device object that hosts it. The device
// implements this; the engine calls it from the light thread (all of it), the listener
// thread (LedCount, KeyCodeOfLed) and the UI thread (the locks, LedCount, and
// LoadCustomColours when mode 20 is entered).
#include <cstdint>
#include <mutex>

namespace lighting {

class ILightingHost {
public:
    virtual ~ILightingHost() = default;

    // The vendor command collection is open: the device is attached.
    virtual bool IsCommandChannelOpen() const = 0;
    // The command channel's synchronisation flag: the device follows the main window's
    // synchronised lighting, so the engine draws nothing.
    virtual bool IsSynchronised() const = 0;
    // LED positions of the device (126 on the keyboard, 15 on the pad); the engine never
    // draws at or beyond it, nor beyond its 126-entry arrays.
    virtual int LedCount() const = 0;
    // The device's LEDs show what the host computes (not its own animation), so the
    // colours are needed even while nobody looks at the preview.
    virtual bool HostDrivesLeds() const { return false; }
    // Called by the light thread when it wakes from a still picture to draw again (from
    // the light thread): the preview should look again.
    virtual void OnLightThreadWakes() {}
    // The device's light-step and light-list locks. The engine takes them itself around
    // each access to the light steps and the light list: never call the engine while
    // holding one.
    virtual std::mutex& LightStepLock() = 0;
    virtual std::mutex& LightListLock() = 0;
};

class IKeyboardLightingHost : public ILightingHost {
public:
    virtual ~IKeyboardLightingHost() = default;

    // Sends the colour buffer, levelled by each LED's alpha, to the keyboard (mode 20).
    virtual void StreamCustomColours() = 0;
    // Fills the colour buffer with the profile's custom colours of the current group and
    // streams them (on entering mode 20).
    virtual void LoadCustomColours() = 0;
    // The key code the input listener reports for LED position `led`, or -1 for none.
    virtual int KeyCodeOfLed(int led) const = 0;
};

}  // namespace lighting
