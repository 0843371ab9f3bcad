#pragma once
#include "core/platform/sound.h"

#include <string>
#include <vector>

// A sound back-end for tests and benchmarks: remembers every call, in order, "play <path>" and "stop".
class TRecordingSoundBackEnd : public TSoundBackEnd {
public:
    void Play(const std::string& utf8Path) override { Calls.push_back("play " + utf8Path); }
    void Stop() override { Calls.push_back("stop"); }
    std::vector<std::string> Calls;
};
