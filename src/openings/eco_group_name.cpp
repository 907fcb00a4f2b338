#include "openings/eco_group_name.h"

#include <array>

#include "openings/messages.h"

namespace qorvale::openings {

namespace {

// One range of codes sharing a family name: indices first..last.
struct GroupRange {
    int first;
    int last;
    std::string_view name;
};

constexpr int At(char letter, int number) { return (letter - 'A') * 100 + number; }

constexpr GroupRange GroupRanges[] = {
    {At('A', 0), At('A', 0), "Polish,Grob,etc"},
    {At('A', 1), At('A', 1), "Nimzowitsch-Larsen"},
    {At('A', 2), At('A', 3), "Bird"},
    {At('A', 4), At('A', 9), "Reti"},
    {At('A', 10), At('A', 39), "English"},
    {At('A', 40), At('A', 40), "Queen's Pawn,etc"},
    {At('A', 41), At('A', 41), "Neo-Old Indian"},
    {At('A', 42), At('A', 42), "Modern"},
    {At('A', 43), At('A', 43), "Old Benoni"},
    {At('A', 44), At('A', 44), "Old Benoni,etc"},
    {At('A', 45), At('A', 45), "Trompowsky,Indian"},
    {At('A', 46), At('A', 46), "Indian"},
    {At('A', 47), At('A', 47), "Queen's Indian"},
    {At('A', 48), At('A', 49), "King's Indian Def"},
    {At('A', 50), At('A', 50), "Indian"},
    {At('A', 51), At('A', 52), "Budapest"},
    {At('A', 53), At('A', 55), "Old Indian"},
    {At('A', 56), At('A', 56), "Benoni,etc"},
    {At('A', 57), At('A', 59), "Benko gambit"},
    {At('A', 60), At('A', 79), "Benoni"},
    {At('A', 80), At('A', 99), "Dutch"},
    {At('B', 0), At('B', 0), "Nimzowitsch Def"},
    {At('B', 1), At('B', 1), "Scandinavian"},
    {At('B', 2), At('B', 5), "Alekhine"},
    {At('B', 6), At('B', 6), "Modern"},
    {At('B', 7), At('B', 9), "Pirc"},
    {At('B', 10), At('B', 19), "Caro-Kann"},
    {At('B', 20), At('B', 99), "Sicilian"},
    {At('C', 0), At('C', 19), "French"},
    {At('C', 20), At('C', 20), "Open game"},
    {At('C', 21), At('C', 22), "Center game"},
    {At('C', 23), At('C', 24), "Bishop's opening"},
    {At('C', 25), At('C', 28), "Vienna game"},
    {At('C', 29), At('C', 29), "Vienna gambit"},
    {At('C', 30), At('C', 32), "KGD"},
    {At('C', 33), At('C', 39), "KGA"},
    {At('C', 40), At('C', 40), "Latvian,etc"},
    {At('C', 41), At('C', 41), "Philidor"},
    {At('C', 42), At('C', 43), "Petroff"},
    {At('C', 44), At('C', 44), "Ponziani,Scotch"},
    {At('C', 45), At('C', 45), "Scotch"},
    {At('C', 46), At('C', 46), "3,4 Knights"},
    {At('C', 47), At('C', 49), "Four Knights"},
    {At('C', 50), At('C', 50), "Giuoco Piano,etc"},
    {At('C', 51), At('C', 52), "Evans gambit"},
    {At('C', 53), At('C', 54), "Giuoco Piano"},
    {At('C', 55), At('C', 59), "Two Knights"},
    {At('C', 60), At('C', 99), "Ruy Lopez"},
    {At('D', 0), At('D', 0), "Queen's Pawn,etc"},
    {At('D', 1), At('D', 1), "Richter-Veresov"},
    {At('D', 2), At('D', 2), "Queen's Pawn,etc"},
    {At('D', 3), At('D', 3), "Torre-Tartakower"},
    {At('D', 4), At('D', 5), "Colle"},
    {At('D', 6), At('D', 9), "QGD"},
    {At('D', 10), At('D', 19), "Slav"},
    {At('D', 20), At('D', 29), "QGA"},
    {At('D', 30), At('D', 30), "QGD"},
    {At('D', 31), At('D', 31), "Semi-Slav"},
    {At('D', 32), At('D', 42), "QGD"},
    {At('D', 43), At('D', 49), "Semi-Slav"},
    {At('D', 50), At('D', 69), "QGD"},
    {At('D', 70), At('D', 79), "Neo-Grunfeld"},
    {At('D', 80), At('D', 99), "Grunfeld"},
    {At('E', 0), At('E', 0), "Catalan,etc"},
    {At('E', 1), At('E', 9), "Catalan"},
    {At('E', 10), At('E', 10), "Blumenfeld,etc"},
    {At('E', 11), At('E', 11), "Bogo-Indian"},
    {At('E', 12), At('E', 19), "Queen's Indian"},
    {At('E', 20), At('E', 59), "Nimzo-Indian"},
    {At('E', 60), At('E', 99), "King's Indian Def"},
};

constexpr int GroupCount = 501;

// The 501 texts, one per index, built at compile time from the ranges.
constexpr std::array<std::string_view, GroupCount> BuildGroupNames() {
    std::array<std::string_view, GroupCount> names{};
    for (const GroupRange& range : GroupRanges) {
        for (int index = range.first; index <= range.last; ++index) names[index] = range.name;
    }
    names[GroupCount - 1] = messages::UnknownGroup;
    return names;
}

constexpr std::array<std::string_view, GroupCount> GroupNames = BuildGroupNames();

constexpr bool EveryIndexNamed() {
    for (std::string_view name : GroupNames) {
        if (name.empty()) return false;
    }
    return true;
}
static_assert(EveryIndexNamed(), "the ranges must cover A00 to E99");

}  // namespace

int EcoGroupIndex(std::string_view code) {
    if (code.empty()) return GroupCount - 1;
    // The characters are read as they stand, a missing one as the NUL that ends the text: "A0",
    // "F12" or "A?3" land outside the table.
    auto at = [code](std::size_t i) { return i < code.size() ? code[i] : '\0'; };
    int index = (at(0) - 'A') * 100 + (at(1) - '0') * 10 + (at(2) - '0');
    if (index < 0 || index > GroupCount - 1) return GroupCount - 1;
    return index;
}

std::string_view EcoGroupName(std::string_view code) {
    return GroupNames[static_cast<std::size_t>(EcoGroupIndex(code))];
}

}  // namespace qorvale::openings
