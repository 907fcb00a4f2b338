// How long the window takes to show one step through a game, and to show the first game of a
// file.
//
//   step_bench FILE [BOARD_SIZE]
//
// Opens FILE in the main window (offscreen), then steps forward through its first games move by
// move; each step is timed from the key action to a finished paint of the whole window into an
// image. Also builds the game list and shows it. Prints the opening time (scan or offset cache),
// the median and worst step, and a signature (games stepped, half-moves) that does not change
// between runs.

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <random>
#include <vector>

#include "app/start_up.h"
#include "gui/file/file_controller.h"
#include "gui/game/game_controller.h"
#include "gui/game/game_list_box.h"
#include "gui/shell/main_window.h"

namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::duration duration) {
    return std::chrono::duration<double, std::milli>(duration).count();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: step_bench FILE [BOARD_SIZE]\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int board_size = argc > 2 ? std::atoi(argv[2]) : 2;

    const std::filesystem::path home =
        std::filesystem::temp_directory_path() /
        ("qorvale-step-bench-" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(home);
    qorvale::app::StartUpState state = qorvale::app::StartUp({home.string(), "", false});
    state.options.BoardSize = board_size;
    state.options.HighlightLastMove = 3;
    qorvale::gui::MainWindow window(state);
    // No one answers message boxes here; warnings (a full game index) are left unshown.
    qorvale::SilentUi silent;
    window.SetUi(silent);
    window.resize(1250, 960);
    window.show();
    QImage image(window.size(), QImage::Format_ARGB32_Premultiplied);
    auto paint = [&] {
        QPainter painter(&image);
        window.render(&painter);
    };
    paint();

    Clock::time_point opened_at = Clock::now();
    if (!window.file().OpenPath(QString::fromLocal8Bit(argv[1]))) return 1;
    paint();
    const double open_ms = Milliseconds(Clock::now() - opened_at);
    const int games = window.session().GameCount();

    // The game list: its records (from name.pgs, the fast header file or the tags), then the
    // Select Game box shown and painted at the current game.
    Clock::time_point list_at = Clock::now();
    const std::size_t listed = window.session().GameList(window.ui()).size();
    const double records_ms = Milliseconds(Clock::now() - list_at);
    {
        qorvale::gui::GameListBox box(window.session().GameList(window.ui()), 0, 1);
        box.show();
        QImage list_image(box.size(), QImage::Format_ARGB32_Premultiplied);
        QPainter painter(&list_image);
        box.render(&painter);
    }
    const double list_ms = Milliseconds(Clock::now() - list_at);

    std::vector<double> steps;
    // Processor time as well: on a shared machine the wall clock also counts other programs.
    std::vector<double> cpu_steps;
    long long half_moves = 0;
    const int games_to_step = std::min(games, 50);
    for (int game = 1; game <= games_to_step; ++game) {
        if (!window.ShowGame(game)) continue;
        paint();
        const int last = window.session().Navigation().lastPly;
        for (int ply = 0; ply < last; ++ply) {
            Clock::time_point start = Clock::now();
            const std::clock_t cpu_start = std::clock();
            window.game().Navigate(qorvale::app::NavigationAction::NextMove);
            paint();
            cpu_steps.push_back(1000.0 * static_cast<double>(std::clock() - cpu_start) /
                                CLOCKS_PER_SEC);
            steps.push_back(Milliseconds(Clock::now() - start));
        }
        half_moves += last;
    }
    std::sort(steps.begin(), steps.end());
    std::sort(cpu_steps.begin(), cpu_steps.end());
    const double median = steps.empty() ? 0.0 : steps[steps.size() / 2];
    const double worst = steps.empty() ? 0.0 : steps.back();
    std::printf("board size %d, file of %d games opened and first game shown in %.1f ms\n",
                board_size, games, open_ms);
    std::printf("game list of %zu games: records in %.1f ms, list shown in %.1f ms\n", listed,
                records_ms, list_ms);
    std::printf("%zu steps: median %.2f ms, 99th percentile %.2f ms, worst %.2f ms\n", steps.size(),
                median, steps.empty() ? 0.0 : steps[steps.size() * 99 / 100], worst);
    if (!cpu_steps.empty()) {
        std::printf(
            "processor time per step: median %.2f ms, 99th percentile %.2f ms, worst %.2f ms\n",
            cpu_steps[cpu_steps.size() / 2], cpu_steps[cpu_steps.size() * 99 / 100],
            cpu_steps.back());
    }
    std::printf("signature: games %d, half-moves %lld\n", games_to_step, half_moves);
    std::filesystem::remove_all(home);
    return 0;
}
