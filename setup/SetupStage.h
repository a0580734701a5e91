// SetupStage: the stages of the setup program's run sequence, in the order AdvanceStep moves
// through them. The numbers are the background window's SetupStep values.
#pragma once

#include <cstdint>

namespace pelorin {

enum class SetupStage : std::uint8_t {
    NotStarted = 0,    // before the first AdvanceStep
    Wizard = 1,        // the wizard's input pages
    Installation = 2,  // the installation window
    FinalPage = 3,     // the wizard's "Setup successful" page, the RunEntry programs run before it
    End = 4,           // the background window closes
};

// The stage after stage; past End the number keeps counting, and no stage starts.
constexpr SetupStage NextStage(SetupStage stage) {
    return static_cast<SetupStage>(static_cast<std::uint8_t>(static_cast<std::uint8_t>(stage) + 1));
}

// The stage's name in the run log ("wizard", "installation", "final page", "end"); none for
// NotStarted and past End.
constexpr const char* StageName(SetupStage stage) {
    switch (stage) {
    case SetupStage::Wizard: return "wizard";
    case SetupStage::Installation: return "installation";
    case SetupStage::FinalPage: return "final page";
    case SetupStage::End: return "end";
    case SetupStage::NotStarted: break;
    }
    return nullptr;
}

}  // namespace pelorin
