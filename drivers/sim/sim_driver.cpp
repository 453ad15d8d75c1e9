// The simulated driver library's exported factory and board interface.
// Every call the program makes can be recorded, with its arguments and its
// result, so tests can tell exactly what was and was not asked of a board.
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "board/plx9050.h"
#include "drivers/sim/sim_boards.h"
#include "drivers/sim/sim_config.h"

#if defined(_WIN32)
#define SIM_EXPORT __declspec(dllexport)
#else
#define SIM_EXPORT __attribute__((visibility("default")))
#endif

namespace {

struct Simulation {
    bool loaded = false;
    SimConfig config;
    std::vector<EepromImage> eeproms;
    int32_t current = 0;  // the board last initialised, 0 for none
};

Simulation m_sim;

void Load()
{
    if (!m_sim.loaded) {
        m_sim.config = LoadSimConfig();
        m_sim.eeproms = LoadEeproms(m_sim.config.statePath, m_sim.config.boards.size());
        m_sim.loaded = true;
    }
}

void Record(const char* format, ...)
{
    if (m_sim.config.logPath.empty()) {
        return;
    }
    std::FILE* log = std::fopen(m_sim.config.logPath.c_str(), "a");
    if (log == nullptr) {
        return;
    }
    va_list arguments;
    va_start(arguments, format);
    std::vfprintf(log, format, arguments);
    va_end(arguments);
    std::fputc('\n', log);
    std::fclose(log);
}

std::string Hex(const EepromImage& image)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(&image);
    std::string text;
    char pair[3];
    for (size_t i = 0; i < sizeof image; ++i) {
        std::snprintf(pair, sizeof pair, "%02x", bytes[i]);
        text += pair;
    }
    return text;
}

const SimBoard* CurrentBoard()
{
    return m_sim.current > 0 ? &m_sim.config.boards[static_cast<size_t>(m_sim.current - 1)] : nullptr;
}

void Reserved0(IPLX9050*) { Record("Reserved0"); }
void Reserved1(IPLX9050*) { Record("Reserved1"); }

int32_t InitDevice(IPLX9050*, const char* location, int32_t board)
{
    const size_t count = m_sim.config.boards.size();
    int32_t result = 0;
    m_sim.current = 0;
    if (board >= 1 && static_cast<size_t>(board) <= count) {
        result = m_sim.config.boards[static_cast<size_t>(board - 1)].initResult;
        if (result > 0) {
            m_sim.current = board;
        }
    }
    Record("InitDevice \"%s\" %d -> %d", location ? location : "(null)", board, result);
    return result;
}

int32_t GetInfo(IPLX9050*, uint32_t selector)
{
    const SimBoard* board = CurrentBoard();
    const uint32_t id = (board != nullptr && selector == Plx9050InfoBoardId) ? board->id : 0;
    Record("GetInfo %u -> 0x%x", selector, id);
    return static_cast<int32_t>(id);
}

int32_t ReadFlash(IPLX9050*, EepromImage* image)
{
    const SimBoard* board = CurrentBoard();
    const int32_t result = board != nullptr && image != nullptr ? board->readResult : 0;
    if (result == 1) {
        *image = m_sim.eeproms[static_cast<size_t>(m_sim.current - 1)];
    }
    Record("ReadFlash -> %d", result);
    return result;
}

int32_t WriteFlash(IPLX9050*, EepromImage image)
{
    const SimBoard* board = CurrentBoard();
    int32_t result = board != nullptr ? board->writeResult : 0;
    if (result == 64) {
        m_sim.eeproms[static_cast<size_t>(m_sim.current - 1)] = image;
        if (!SaveEeproms(m_sim.config.statePath, m_sim.eeproms)) {
            result = 0;
        }
    }
    Record("WriteFlash %s -> %d", Hex(image).c_str(), result);
    return result;
}

const IPLX9050Operations kBoardOperations = {
    Reserved0, Reserved1, InitDevice, GetInfo, ReadFlash, WriteFlash,
};

IPLX9050 m_board = {&kBoardOperations};

IPLX9050* CreateInterface(StaticFactory*, const char* name, int32_t flags)
{
    Load();
    const bool known = name != nullptr && std::strcmp(name, PLX9050_INTERFACE_NAME) == 0;
    IPLX9050* result = (known && m_sim.config.createInterface) ? &m_board : nullptr;
    Record("CreateInterface %s %d -> %s", name ? name : "(null)", flags, result ? "object" : "null");
    return result;
}

const StaticFactoryOperations kFactoryOperations = {CreateInterface};

}  // namespace

// The one export the program looks for: the factory object itself.
extern "C" {
SIM_EXPORT struct StaticFactory StaticFactory = {&kFactoryOperations};
}
