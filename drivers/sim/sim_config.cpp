#include "drivers/sim/sim_config.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace {

bool ParseInt(const std::string& text, long long& number)
{
    if (text.empty()) {
        return false;
    }
    char* end = nullptr;
    number = std::strtoll(text.c_str(), &end, 0);
    return *end == '\0';
}

SimBoard ParseBoard(std::istringstream& words)
{
    SimBoard board;
    std::string word;
    long long number = 0;
    if (words >> word && ParseInt(word, number)) {
        board.id = static_cast<uint32_t>(number);
    }
    while (words >> word) {
        const size_t equals = word.find('=');
        if (equals == std::string::npos || !ParseInt(word.substr(equals + 1), number)) {
            continue;
        }
        const std::string key = word.substr(0, equals);
        const int32_t result = static_cast<int32_t>(number);
        if (key == "init") {
            board.initResult = result;
        } else if (key == "read") {
            board.readResult = result;
        } else if (key == "write") {
            board.writeResult = result;
        }
    }
    return board;
}

std::string RestOfLine(std::istringstream& words)
{
    std::string rest;
    std::getline(words >> std::ws, rest);
    return rest;
}

void ParseLine(const std::string& line, SimConfig& config)
{
    std::istringstream words(line.substr(0, line.find('#')));
    std::string directive;
    if (!(words >> directive)) {
        return;
    }
    if (directive == "state") {
        config.statePath = RestOfLine(words);
    } else if (directive == "log") {
        config.logPath = RestOfLine(words);
    } else if (directive == "interface") {
        config.createInterface = RestOfLine(words) != "null";
    } else if (directive == "board") {
        config.boards.push_back(ParseBoard(words));
    }
}

}  // namespace

SimConfig LoadSimConfig()
{
    SimConfig config;
    const char* path = std::getenv("KESTREL_SIM_CONFIG");
    if (path != nullptr && *path != '\0') {
        if (std::FILE* file = std::fopen(path, "r")) {
            char buffer[1024];
            std::string line;
            while (std::fgets(buffer, sizeof buffer, file) != nullptr) {
                line += buffer;
                if (!line.empty() && line.back() == '\n') {
                    line.pop_back();
                    if (!line.empty() && line.back() == '\r') {
                        line.pop_back();
                    }
                    ParseLine(line, config);
                    line.clear();
                }
            }
            ParseLine(line, config);
            std::fclose(file);
        }
    }
    if (config.boards.empty()) {
        config.boards.push_back(SimBoard{});
    }
    return config;
}
