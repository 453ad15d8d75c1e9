// The binary contract between Kestrel and a PCI 9050 board driver library.
//
// A driver library exports one data object named "StaticFactory". It and the
// board interface it creates are plain objects whose first field points to a
// table of operations; every operation takes the object itself first. This is
// the layout a C++ compiler gives a class whose only members are virtual
// functions, so a library written as such a class and one written against
// this header are interchangeable.
//
// ABI: x86-64 only. Linux uses the System V AMD64 convention, Windows the
// Microsoft x64 convention; each platform has exactly one, so no calling
// convention is spelled out here. Passing the 128-byte image by value follows
// the platform's rule for large records (on the stack under System V, by
// hidden copy under Microsoft x64), exactly as a virtual member would.
//
// This header is shared unchanged by the program and by every driver library,
// and includes nothing but the standard fixed-width integer types.
#ifndef KESTREL_BOARD_PLX9050_H
#define KESTREL_BOARD_PLX9050_H

#include <cstddef>
#include <cstdint>

// A little-endian 16-bit value stored as its two bytes, low byte first, so the
// record means the same bytes on any host.
struct Le16 {
    uint8_t bytes[2];
};

// A little-endian 32-bit value stored as its four bytes, low byte first.
struct Le32 {
    uint8_t bytes[4];
};

// The 128-byte content of the PCI 9050 serial EEPROM. A board driver delivers
// and takes it in device order: every register word is the register's value
// as one little-endian word. Image files hold it in file order, where the two
// 16-bit halves of each register word are exchanged.
struct EepromImage {
    Le16 DeviceId;
    Le16 VendorId;
    Le16 ClassCode;
    Le16 ClassCodeRevision;
    Le16 SubsystemId;
    Le16 SubsystemVendorId;
    Le16 MaxLatencyMinGrant;
    Le16 InterruptPinLineRouting;
    Le32 RangeSpace0;
    Le32 RangeSpace1;
    Le32 RangeSpace2;
    Le32 RangeSpace3;
    Le32 RangeExpansionRom;
    Le32 LocalBaseSpace0;
    Le32 LocalBaseSpace1;
    Le32 LocalBaseSpace2;
    Le32 LocalBaseSpace3;
    Le32 LocalBaseExpansionRom;
    Le32 BusRegionSpace0;
    Le32 BusRegionSpace1;
    Le32 BusRegionSpace2;
    Le32 BusRegionSpace3;
    Le32 BusRegionExpansionRom;
    Le32 ChipSelect0;
    Le32 ChipSelect1;
    Le32 ChipSelect2;
    Le32 ChipSelect3;
    Le32 InterruptControl;
    Le32 MiscellControl;
    uint8_t ExtraText[28];
};

static_assert(sizeof(Le16) == 2 && alignof(Le16) == 1, "Le16 is two plain bytes");
static_assert(sizeof(Le32) == 4 && alignof(Le32) == 1, "Le32 is four plain bytes");
static_assert(sizeof(EepromImage) == 128, "the EEPROM holds exactly 128 bytes");
static_assert(offsetof(EepromImage, DeviceId) == 0, "header value layout");
static_assert(offsetof(EepromImage, VendorId) == 2, "header value layout");
static_assert(offsetof(EepromImage, ClassCode) == 4, "header value layout");
static_assert(offsetof(EepromImage, ClassCodeRevision) == 6, "header value layout");
static_assert(offsetof(EepromImage, SubsystemId) == 8, "header value layout");
static_assert(offsetof(EepromImage, SubsystemVendorId) == 10, "header value layout");
static_assert(offsetof(EepromImage, MaxLatencyMinGrant) == 12, "header value layout");
static_assert(offsetof(EepromImage, InterruptPinLineRouting) == 14, "header value layout");
static_assert(offsetof(EepromImage, RangeSpace0) == 16, "register words start at word 4");
static_assert(offsetof(EepromImage, LocalBaseSpace0) == 36, "register word layout");
static_assert(offsetof(EepromImage, BusRegionSpace0) == 56, "register word layout");
static_assert(offsetof(EepromImage, ChipSelect0) == 76, "register word layout");
static_assert(offsetof(EepromImage, InterruptControl) == 92, "register word layout");
static_assert(offsetof(EepromImage, MiscellControl) == 96, "last register is word 24");
static_assert(offsetof(EepromImage, ExtraText) == 100, "extra area is words 25 to 31");

struct IPLX9050;

// The board interface's table of operations, in slot order.
struct IPLX9050Operations {
    // The first two slots belong to the library; Kestrel never calls them.
    void (*Reserved0)(IPLX9050* self);
    void (*Reserved1)(IPLX9050* self);
    // Opens board `board` (counted from 1); `location` is always "".
    // Above 0: the board answers; exactly 1: the board is ready.
    int32_t (*InitDevice)(IPLX9050* self, const char* location, int32_t board);
    // With selector 5: the 32-bit ID of the board last initialised.
    int32_t (*GetInfo)(IPLX9050* self, uint32_t selector);
    // Fills `image` with the board's EEPROM in device order; 1 on success.
    int32_t (*ReadFlash)(IPLX9050* self, EepromImage* image);
    // Writes `image` (device order) into the board's EEPROM; 64 on success.
    int32_t (*WriteFlash)(IPLX9050* self, EepromImage image);
};

struct IPLX9050 {
    const IPLX9050Operations* operations;
};

struct StaticFactory;

// The factory's table of operations; only the first slot is called.
struct StaticFactoryOperations {
    // Returns the interface `name` ("IPLX9050", with `flags` 0), or null.
    IPLX9050* (*CreateInterface)(StaticFactory* self, const char* name, int32_t flags);
};

struct StaticFactory {
    const StaticFactoryOperations* operations;
};

static_assert(offsetof(IPLX9050Operations, InitDevice) == 2 * sizeof(void*), "InitDevice is slot 2");
static_assert(offsetof(IPLX9050Operations, GetInfo) == 3 * sizeof(void*), "GetInfo is slot 3");
static_assert(offsetof(IPLX9050Operations, ReadFlash) == 4 * sizeof(void*), "ReadFlash is slot 4");
static_assert(offsetof(IPLX9050Operations, WriteFlash) == 5 * sizeof(void*), "WriteFlash is slot 5");
static_assert(offsetof(IPLX9050, operations) == 0, "the table pointer is the first field");
static_assert(offsetof(StaticFactoryOperations, CreateInterface) == 0, "CreateInterface is slot 0");
static_assert(offsetof(StaticFactory, operations) == 0, "the table pointer is the first field");

// The exported name of the factory object, and the interface Kestrel asks for.
#define PLX9050_FACTORY_EXPORT "StaticFactory"
#define PLX9050_INTERFACE_NAME "IPLX9050"

// The GetInfo selector that yields the board ID.
enum : uint32_t { Plx9050InfoBoardId = 5 };

#endif
