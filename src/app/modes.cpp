#include "app/modes.h"

namespace qorvale::app {

namespace {

constexpr std::array<ModeTraits, ModeCount> Traits = {{
    {Mode::GameReplay, "Game", BoardInput::Navigate, true, false},
    {Mode::AddGame, "Add Game", BoardInput::MakeMoves, false, true},
    {Mode::ModifyGame, "Modify Game", BoardInput::MakeMoves, false, true},
    {Mode::VariationEdit, "Variation Edit", BoardInput::MakeMoves, false, false},
    {Mode::Analyze, "Analyze", BoardInput::MakeMoves, false, false},
    {Mode::PositionSetup, "Set Up Position", BoardInput::PlacePieces, false, true},
    {Mode::Tree, "Tree", BoardInput::None, false, false},
    {Mode::EcoEdit, "ECO Edit", BoardInput::MakeMoves, false, true},
    {Mode::Database, "Database", BoardInput::Navigate, false, false},
    {Mode::EnginePlay, "Engine Play", BoardInput::MakeMoves, false, true},
    {Mode::EngineAnalysis, "Engine Analysis", BoardInput::Navigate, true, false},
}};

}  // namespace

const ModeTraits& TraitsOf(Mode mode) { return Traits[static_cast<std::size_t>(mode)]; }

bool ModeModel::ModeProvided(Mode mode) {
    switch (mode) {
        case Mode::GameReplay:
        case Mode::AddGame:
        case Mode::ModifyGame:
        case Mode::Database:
        case Mode::VariationEdit:
        case Mode::Analyze:
        case Mode::Tree:
        case Mode::EcoEdit:
        case Mode::EnginePlay:
        case Mode::EngineAnalysis:
            return true;
        case Mode::PositionSetup:
            return false;
    }
    return false;
}

bool ModeModel::Enter(Mode mode) {
    if (mode == current_) return true;
    if (current_ != Mode::GameReplay || !ModeProvided(mode)) return false;
    current_ = mode;
    return true;
}

}  // namespace qorvale::app
