#pragma once
#include "net/Lockstep.h"
#include "net/Message.h"
#include <cstdint>
#include <string>

// What a networked game's replay keeps of the network, in the bytes of a
// replay's network record: the session's beginning, each action as it was
// applied, how many steps each update ran, and an end the network forced.
// With these the replay runs the very steps the game ran, without a network.
struct NetworkRecord {
    enum class Kind : std::uint8_t { begin = 1, steps = 2, action = 3, end = 4, damaged = 0 };

    Kind kind = Kind::damaged;
    Begin beginning;                // begin
    std::uint8_t self = noMachine;  // begin: this machine's number
    std::uint32_t steps = 0;        // steps
    LockstepAction action;          // action
    std::string line;               // end: what the game said

    static std::string begin(const Begin& beginning, std::uint8_t self);
    static std::string stepsRun(std::uint32_t steps);
    static std::string applied(const LockstepAction& action);
    static std::string ended(const std::string& line);
    // Any bytes: a record, or one of kind damaged.
    static NetworkRecord read(const std::string& bytes);
};
