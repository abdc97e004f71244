// vovrobot — plays levels of the real game, offscreen, with a fake clock, and says how it went.
//
//   vovrobot [options]
//     --run-dir DIR     the folder holding Vedezaviva.zez, Countries/ and Flags/ (default: the
//                       folder of this program's "run" sibling, else the current folder)
//     --countries FILE  use FILE as "Countries/countries.txt" (its pictures are still looked up in
//                       the run folder's Countries/, or beside FILE)
//     --level N         play level N (from 0) of the list; default 0
//     --name NAME       play the level whose key is NAME
//     --all             play every level of the list, one after the other
//     --flag N          paint with flag N (default 0)
//     --seed S          srand(S) after start-up (default 1)
//     --plan FILE       replay FILE instead of the rule player (format below)
//     --jitter SEED     play the plan as a player's hand would: every input up to 300 ms early or
//                       late, each build or dig stroke 500 ms late more and up to 3 pixels off its
//                       aim, drawn from SEED (tools/make_levels.py draws the same numbers)
//     --idle            play nothing: the leader stands, the mouse rests
//     --frame-ms MS     length of a frame in milliseconds (default 16.67, as 17,17,16)
//     --screenshot PNG  write the window to PNG at --shot-ms milliseconds of play (default 40000)
//     --shot-ms MS
//     --small-window    play in a 360x240 window (the game screen unscaled): the same game, but
//                       software GL draws a tenth of the pixels, so a sweep of every level fits
//     --verbose         a line per second of play on standard error
//
// It copies the pack and lists into a scratch folder, starts the real game there (start-up, the
// main loop's frames, every draw), puts the chosen level up as the menus would (chooseLevel), and
// plays it through the replaceable input source. No sleeping: the fake clock moves 16-17 ms a frame.
//
// Output, one line per level on standard output, fields separated by single spaces:
//   level=0 name="First Steps" seed=1 result=won cause=- time_left_ms=61234 survivors_margin=30
//   paint_margin=5 saved=10 alive=10 total=10 frames=4321
// result is won, lost or unfinished (the level ran past its time limit without ending); cause is the
// game-over bits (1 survivors, 2 time, 4 none alive, 0 leader dead) or "-" for a win; margins are
// percentage points above the level's minimum survivors and paint goal at the moment the level ended.
// Exit code 0 when every level played was won, 1 otherwise, 2 on bad arguments or start-up failure.
//
// Plan files: text lines "MS LEADER BUTTON X Y", MS counting from the start of play (the level
// clock), LEADER one of left/right/none, BUTTON one of none/left/right (left builds, right digs),
// X Y the level pixel the pointer aims at (with no button, 0 0 follows the leader and any other
// place is only looked at, scrolling the view there). Each line holds from its time until the next; "#"
// starts a comment. The rule player, without a plan: it walks a model creature along the terrain from the
// spawn point, plans a bridge over each deadly gap and a tunnel through each wall, builds them with the real
// brush (scrolling the view as a player does), keeps the leader short of the next unfinished work, then parks
// it by the exit.
#include <SDL.h>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <glad/gl.h>
#include <iostream>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "base/GameWide.h"
#include "core/Game.h"
#include "core/InputState.h"
#include "core/MainLoop.h"
#include "core/SceneManager.h"
#include "core/TickSource.h"
#include "game/EntityTumblekin.h"
#include "game/SceneLevel.h"
#include "persist/ProgressRecord.h"
#include "render/Renderer.h"
#include "render/ResourceStore.h"
// The held-input source the tests use: the robot's hands (keys, pointer in window pixels, buttons).
#include "../tests/FakeInput.h"

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wunused-parameter"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wunused-function"
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#include <stb_image_write.h>
#pragma GCC diagnostic pop

namespace fs = std::filesystem;

namespace {
constexpr int kScanRight = 79, kScanLeft = 80;

struct PlanStep {
    uint32_t ms = 0;
    int leader = 0; // -1 left, 1 right
    uint32_t buttons = 0;
    int x = 0, y = 0;
};

bool readPlan(const std::string& path, std::vector<PlanStep>& plan) {
    std::ifstream in(path);
    if (!in) return false;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream words(line);
        PlanStep step;
        std::string leader, button;
        if (!(words >> step.ms >> leader >> button)) continue;
        words >> step.x >> step.y;
        step.leader = leader == "left" ? -1 : leader == "right" ? 1 : 0;
        step.buttons = button == "left" ? 1u : button == "right" ? 4u : 0u;
        plan.push_back(step);
    }
    return true;
}

// splitmix64: small, and easy to repeat number for number in the level script's model.
class Draws {
  public:
    explicit Draws(uint64_t seed) : state_(seed) {}
    uint64_t next() {
        state_ += 0x9E3779B97F4A7C15ull;
        uint64_t z = state_;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int within(int spread) {
        return static_cast<int>(next() % static_cast<uint64_t>(2 * spread + 1)) - spread;
    }

  private:
    uint64_t state_;
};

// The plan as a human plays it: each line's time shifted, then (strokes) late and off target; the
// draws go line by line in file order, so a seed names one hand exactly.
std::vector<PlanStep> jitterPlan(const std::vector<PlanStep>& plan, uint64_t seed) {
    constexpr int kShiftMs = 300, kLateMs = 500, kAimPx = 3;
    Draws draws(seed);
    std::vector<std::pair<int64_t, size_t>> order;
    std::vector<PlanStep> moved = plan;
    for (size_t i = 0; i < moved.size(); ++i) {
        int64_t ms = static_cast<int64_t>(moved[i].ms) + draws.within(kShiftMs);
        if (moved[i].buttons) {
            ms += kLateMs;
            moved[i].x += draws.within(kAimPx);
            moved[i].y += draws.within(kAimPx);
        }
        moved[i].ms = static_cast<uint32_t>(std::max<int64_t>(0, ms));
        order.emplace_back(moved[i].ms, i);
    }
    std::sort(order.begin(), order.end());
    std::vector<PlanStep> out;
    for (const auto& [ms, i] : order)
        out.push_back(moved[i]);
    return out;
}

// A rectangle of the terrain to fill (build) or empty (dig), inclusive.
struct Edit {
    bool build = true;
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    bool done = false;
};

// The terrain as the robot models it: solid = red byte not 0.
class Grid {
  public:
    Grid(const ImageData& image) : w(image.width()), h(image.height()), cells(static_cast<size_t>(w) * h) {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                cells[static_cast<size_t>(y) * w + x] = (image.pixel(x, y) & 0xFF) != 0;
    }
    bool solid(int x, int y) const {
        if (x < 0 || y < 0 || x >= w || y >= h) return false;
        return cells[static_cast<size_t>(y) * w + x];
    }
    void set(const Edit& e) {
        for (int y = std::max(0, e.y0); y <= std::min(h - 1, e.y1); ++y)
            for (int x = std::max(0, e.x0); x <= std::min(w - 1, e.x1); ++x)
                cells[static_cast<size_t>(y) * w + x] = e.build;
    }
    // The creature's probe, on this model.
    bool probe(int x, int y, int dir, int* step) const {
        const int c = x + dir;
        const bool outside = dir > 0 ? c >= w : c < 0;
        bool b[16];
        for (int k = 0; k < 16; ++k)
            b[k] = outside || solid(c, y - 12 + k);
        auto freeRows = [&b](int from, int to) {
            for (int k = from; k <= to; ++k)
                if (b[k]) return false;
            return true;
        };
        if (!b[12]) {
            for (int d = 0; d < 3; ++d)
                if (b[13 + d]) {
                    *step = d;
                    return freeRows(7 - d, 12 - d);
                }
            *step = 3;
            return freeRows(7, 12);
        }
        for (int cl = 0; cl < 3; ++cl)
            if (!b[11 - cl]) {
                *step = -(cl + 1);
                return freeRows(6 - cl, 11 - cl);
            }
        *step = -4;
        return false;
    }
    int w, h;
    std::vector<bool> cells;
};

// Walks a model follower from the spawn to the exit and plans the work that makes it possible.
std::vector<Edit> planWork(Grid grid, int startX, int startY, int exitX) {
    std::vector<Edit> edits;
    int x = startX, y = startY;
    while (y < grid.h && !grid.solid(x, y + 1))
        ++y;
    for (int guard = 0; guard < 20000 && x < exitX; ++guard) {
        int step = 0;
        if (grid.probe(x, y, 1, &step)) {
            if (step < 3) {
                x += 1;
                y += step;
                continue;
            }
            int fy = y;
            while (fy < grid.h && !grid.solid(x + 1, fy + 1))
                ++fy;
            if (fy < grid.h && fy - y <= 60) {
                x += 1;
                y = fy;
                continue;
            }
            // A deadly gap: bridge it at the feet's level to the first ground within reach.
            int far = -1;
            for (int nx = x + 2; nx < std::min(grid.w, x + 300) && far < 0; ++nx)
                for (int r = y - 2; r <= y + 4; ++r)
                    if (grid.solid(nx, r)) {
                        far = nx;
                        break;
                    }
            if (far < 0) break;
            Edit bridge{true, x - 1, y + 1, far + 1, y + 6};
            edits.push_back(bridge);
            grid.set(bridge);
            continue;
        }
        if (x + 1 >= grid.w) break;
        // A wall: a tunnel at the feet's height until the body fits again.
        int end = x + 1;
        while (end < std::min(grid.w - 1, x + 200)) {
            bool clear = true;
            for (int r = y - 11; r <= y; ++r)
                if (grid.solid(end, r)) clear = false;
            if (clear) break;
            ++end;
        }
        Edit tunnel{false, x - 1, y - 11, end + 1, y};
        edits.push_back(tunnel);
        grid.set(tunnel);
    }
    return edits;
}

// The first pixel of an edit the real terrain does not yet show as planned; false when done.
bool unfinished(const ImageData& terrain, const Edit& e, int* px, int* py) {
    int missing = 0, firstX = -1, firstY = -1;
    for (int x = e.x0; x <= e.x1; ++x) {
        bool topOk = !e.build;
        for (int y = e.y0; y <= e.y1; ++y) {
            const bool solid = (terrain.pixel(x, y) & 0xFF) != 0;
            if (e.build && y <= e.y0 + 1 && solid) topOk = true;
            if (solid != e.build) {
                ++missing;
                if (firstX < 0) firstX = x, firstY = y;
            }
        }
        // A bridge needs a top in every column; the rest may stay a little holed.
        if (!topOk && firstX < 0) firstX = x, firstY = e.y0;
        if (!topOk) missing += 1000;
    }
    const int area = (e.x1 - e.x0 + 1) * (e.y1 - e.y0 + 1);
    const bool done = e.build ? missing * 20 <= area && missing < 1000 : missing == 0;
    *px = firstX;
    *py = firstY;
    return !done;
}

struct Options {
    fs::path runDir;
    std::string countries;
    int level = 0;
    std::string name;
    bool all = false;
    uint32_t flag = 0;
    unsigned seed = 1;
    std::string plan;
    bool jitter = false;
    uint64_t jitterSeed = 0;
    bool idle = false;
    double frameMs = 50.0 / 3.0;
    std::string screenshot;
    uint32_t shotMs = 40000;
    bool verbose = false;
    bool smallWindow = false;
};

int usage() {
    std::cerr
        << "usage: vovrobot [--run-dir DIR] [--countries FILE] [--level N | --name NAME | --all] [--flag N]\n"
           "                [--seed S] [--plan FILE [--jitter SEED] | --idle] [--frame-ms MS] [--screenshot "
           "PNG --shot-ms "
           "MS]\n"
           "                [--small-window] [--verbose]\n";
    return 2;
}

void saveWindow(const std::string& path) {
    Renderer* renderer = Renderer::instance();
    const int w = renderer->windowWidth, h = renderer->windowHeight;
    renderer->bindTarget(Renderer::Window, -1);
    std::vector<uint8_t> up(static_cast<size_t>(w) * h * 4), down(up.size());
    glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, up.data());
    const size_t row = static_cast<size_t>(w) * 4;
    for (int y = 0; y < h; ++y)
        std::copy_n(up.begin() + static_cast<long>((h - 1 - y) * row), row,
                    down.begin() + static_cast<long>(y * row));
    stbi_write_png(path.c_str(), w, h, 4, down.data(), static_cast<int>(row));
}

// The window as if the player had made it small: every scene maps the pointer through the size it
// read at start-up, so each is told the new one; nothing but the final scaling changes.
void shrinkWindow(SceneManager& scenes, int width, int height) {
    Renderer* renderer = Renderer::instance();
    if (!renderer->window()) return;
    SDL_SetWindowSize(renderer->window(), width, height);
    SDL_GetWindowSize(renderer->window(), &renderer->windowWidth, &renderer->windowHeight);
    renderer->layout = WindowLayout::compute(renderer->windowWidth, renderer->windowHeight,
                                             renderer->logicalWidth, renderer->logicalHeight);
    renderer->nativeSize = renderer->layout.nativeSize ? 1 : 0;
    renderer->setWindowProjection();
    for (uint32_t n = 0; n < kSceneCount; ++n)
        if (Scene* scene = scenes.scene(n)) {
            scene->windowWidth = renderer->windowWidth;
            scene->windowHeight = renderer->windowHeight;
        }
}

// Where each follower stands and what it does, for following a level second by second.
std::string followerPlaces(const SceneLevel& level) {
    std::ostringstream out;
    out << " followers=";
    for (const auto& follower : level.followers)
        out << follower->x << "," << follower->y << ":" << int(follower->state) << " ";
    return out.str();
}

class Robot {
  public:
    Robot(Game& game, FakeInput& input, const Options& options)
        : game_(game), input_(input), options_(options) {}

    // Plays the current level to its end; prints the line; true when won.
    bool play(int index) {
        SceneManager* scenes = game_.scenes();
        auto* level = static_cast<SceneLevel*>(scenes->scene(1));
        ProgressRecord* progress = GameWide<ProgressRecord>::get();
        ResourceStore* store = GameWide<ResourceStore>::get();
        progress->chooseLevel(static_cast<uint32_t>(index), options_.flag);
        level->entered = 0;
        level->fadeInOnEnter = 1;
        scenes->currentScene = 1;
        const LevelInfo* info = progress->currentLevelInfo();
        if (!info) {
            std::cout << "level=" << index << " result=missing" << std::endl;
            return false;
        }
        edits_.clear();
        planned_ = false;
        uint64_t frames = 0;
        bool shot = false;
        const uint64_t frameLimit =
            static_cast<uint64_t>((static_cast<double>(info->timeLimitMinutes) * 60000.0 + 30000.0) /
                                  options_.frameMs) +
            10;
        std::string result = "unfinished";
        for (; frames < frameLimit; ++frames) {
            advanceClock();
            if (level->entered && level->state == Scene::Running && level->phase < SceneLevel::Lost)
                steer(*level, *progress, *store);
            else
                release();
            if (!game_.loop()->runFrame()) break;
            const uint32_t played = progress->levelTimer.read();
            if (!options_.screenshot.empty() && !shot && level->phase >= SceneLevel::Playing &&
                played >= options_.shotMs) {
                saveWindow(options_.screenshot);
                shot = true;
            }
            if (options_.verbose && frames % 60 == 0)
                std::cerr << "t=" << played << " phase=" << level->phase
                          << " painted=" << progress->paintedPercent << " alive=" << progress->creaturesAlive
                          << " out=" << progress->creaturesOut << " saved=" << progress->creaturesSaved
                          << " leader=" << level->leader->x << "," << level->leader->y
                          << " view=" << level->view.x << "," << level->view.y << followerPlaces(*level)
                          << std::endl;
            if (level->phase == SceneLevel::Lost || level->phase == SceneLevel::Won) {
                result = level->phase == SceneLevel::Won ? "won" : "lost";
                break;
            }
        }
        release();
        const int32_t total = progress->creaturesTotal;
        const int32_t survivors = total > 0 ? progress->creaturesAlive * 100 / total : 0;
        std::cout << "level=" << index << " name=\"" << info->name << "\" seed=" << options_.seed;
        if (options_.jitter) std::cout << " jitter=" << options_.jitterSeed;
        std::cout << " result=" << result << " cause="
                  << (result == "lost" ? std::to_string(level->lastGameOverBits) : std::string("-"))
                  << " time_left_ms=" << progress->timeLeftMs
                  << " survivors_margin=" << survivors - info->minSurvivorPercent
                  << " paint_margin=" << progress->paintedPercent - info->goalPercent
                  << " saved=" << progress->creaturesSaved << " alive=" << progress->creaturesAlive
                  << " total=" << total << " limit_ms=" << info->timeLimitMinutes * 60000
                  << " frames=" << frames << std::endl;
        return result == "won";
    }

    std::vector<PlanStep> plan;

  private:
    void advanceClock() {
        elapsed_ += options_.frameMs;
        const auto target = static_cast<uint64_t>(elapsed_);
        now_ = static_cast<uint32_t>(1000 + target);
    }

    void release() {
        input_.keys[kScanLeft] = input_.keys[kScanRight] = 0;
        input_.buttons = 0;
    }

    void holdLeader(int dir) {
        input_.keys[kScanLeft] = dir < 0;
        input_.keys[kScanRight] = dir > 0;
    }

    // Points at level pixel (lx, ly), scrolling the view when it is not on screen; true when the
    // pointer is there.
    bool aim(const SceneLevel& level, int lx, int ly) {
        const int sx = lx - level.view.x, sy = ly - level.view.y;
        int px = std::clamp(sx, 12, level.logicalWidth - 12),
            py = std::clamp(sy, 12, level.logicalHeight - 12);
        const bool there = px == sx && py == sy;
        if (sx < 12) px = 3;
        if (sx > level.logicalWidth - 12) px = level.logicalWidth - 3;
        if (sy < 12) py = 3;
        if (sy > level.logicalHeight - 12) py = level.logicalHeight - 3;
        pointAt(level, px, py);
        return there;
    }

    void pointAt(const SceneLevel& level, int px, int py) {
        const Renderer* renderer = Renderer::instance();
        const int w = renderer->windowWidth, h = renderer->windowHeight;
        input_.mx = (px * w + level.logicalWidth - 1) / level.logicalWidth;
        input_.my = (py * h + level.logicalHeight - 1) / level.logicalHeight;
    }

    void steer(SceneLevel& level, ProgressRecord& progress, ResourceStore& store) {
        const LevelInfo* info = progress.currentLevelInfo();
        const ImageData* terrain = store.surfaces().get(progress.terrainSurface);
        if (!info || !terrain || !level.leader) return;
        if (!options_.plan.empty() || options_.idle) {
            followPlan(level, progress);
            return;
        }
        if (!planned_) {
            edits_ = planWork(Grid(*terrain), info->startX, info->startY, info->exitX);
            planned_ = true;
        }
        // The work: the first edit not yet done, with the reserve's breath between strokes.
        Edit* work = nullptr;
        int px = 0, py = 0;
        for (Edit& e : edits_) {
            if (e.done) continue;
            if (unfinished(*terrain, e, &px, &py)) {
                work = &e;
                break;
            }
            e.done = true;
        }
        input_.buttons = 0;
        if (work) {
            const int32_t ink = work->build ? progress.buildInk : progress.digInk;
            if (ink < 300) resting_ = true;
            if (resting_ && ink > 2500) resting_ = false;
            int cx = px, cy = py;
            if (work->build)
                cy = std::max(py, work->y0 + 5);
            else
                cy = std::min(std::max(py, work->y0 + 5), work->y1 - 5);
            if (aim(level, cx, cy) && !resting_) input_.buttons = work->build ? 1u : 4u;
        } else {
            followLeader(level);
        }
        // The leader: short of the first unfinished work, else by the exit.
        int target = info->exitX - 6;
        if (work) target = std::min(target, work->build ? work->x0 - 24 : work->x0 - 8);
        const int lx = level.leader->x;
        holdLeader(lx < target - 2 ? 1 : lx > target + 6 ? -1 : 0);
    }

    // Nothing to build: keep the leader in view (both ways, since levels also run downwards and
    // back), so the player sees the column.
    void followLeader(const SceneLevel& level) {
        const int sx = level.leader->x - level.view.x, sy = level.leader->y - level.view.y;
        int px = level.logicalWidth / 2, py = level.logicalHeight / 2;
        if (sx < 100) px = 3;
        if (sx > level.logicalWidth - 100) px = level.logicalWidth - 3;
        if (sy < 60) py = 3;
        if (sy > level.logicalHeight - 60) py = level.logicalHeight - 3;
        pointAt(level, px, py);
    }

    void followPlan(SceneLevel& level, ProgressRecord& progress) {
        const uint32_t t = level.phase >= SceneLevel::Playing ? progress.levelTimer.read() : 0;
        const PlanStep* now = nullptr;
        for (const PlanStep& step : plan)
            if (level.phase >= SceneLevel::Playing && step.ms <= t) now = &step;
        if (!now) {
            release();
            pointAt(level, level.logicalWidth / 2, level.logicalHeight / 2);
            return;
        }
        holdLeader(now->leader);
        input_.buttons = 0;
        if (now->buttons) {
            if (aim(level, now->x, now->y)) input_.buttons = now->buttons;
        } else if (now->x || now->y) {
            aim(level, now->x, now->y);
        } else {
            followLeader(level);
        }
    }

  public:
    uint32_t now_ = 1000;

  private:
    Game& game_;
    FakeInput& input_;
    const Options& options_;
    double elapsed_ = 0;
    std::vector<Edit> edits_;
    bool planned_ = false;
    bool resting_ = false;
};

fs::path defaultRunDir(const char* argv0) {
    std::error_code error;
    const fs::path self = fs::canonical(fs::path(argv0), error);
    if (!error && fs::exists(self.parent_path() / "run" / "Vedezaviva.zez"))
        return self.parent_path() / "run";
    return fs::current_path();
}
} // namespace

int main(int argc, char** argv) {
    Options options;
    options.runDir = defaultRunDir(argv[0]);
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&]() -> std::string { return i + 1 < argc ? argv[++i] : std::string(); };
        if (arg == "--run-dir")
            options.runDir = value();
        else if (arg == "--countries")
            options.countries = value();
        else if (arg == "--level")
            options.level = std::atoi(value().c_str());
        else if (arg == "--name")
            options.name = value();
        else if (arg == "--all")
            options.all = true;
        else if (arg == "--flag")
            options.flag = static_cast<uint32_t>(std::atoi(value().c_str()));
        else if (arg == "--seed")
            options.seed = static_cast<unsigned>(std::strtoul(value().c_str(), nullptr, 10));
        else if (arg == "--plan")
            options.plan = value();
        else if (arg == "--jitter") {
            options.jitter = true;
            options.jitterSeed = std::strtoull(value().c_str(), nullptr, 10);
        } else if (arg == "--idle")
            options.idle = true;
        else if (arg == "--frame-ms")
            options.frameMs = std::atof(value().c_str());
        else if (arg == "--screenshot")
            options.screenshot = fs::absolute(value()).string();
        else if (arg == "--shot-ms")
            options.shotMs = static_cast<uint32_t>(std::atoi(value().c_str()));
        else if (arg == "--verbose")
            options.verbose = true;
        else if (arg == "--small-window")
            options.smallWindow = true;
        else
            return usage();
    }
    if (options.frameMs < 1 || options.frameMs > 18) return usage();
    std::vector<PlanStep> plan;
    if (!options.plan.empty() && !readPlan(options.plan, plan)) {
        std::cerr << "vovrobot: cannot read plan " << options.plan << std::endl;
        return 2;
    }
    if (options.jitter) {
        if (plan.empty()) return usage();
        plan = jitterPlan(plan, options.jitterSeed);
    }
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);

    // A scratch folder that looks like a player's: the pack, the lists and their pictures, options.
    std::random_device random;
    const fs::path scratch = fs::temp_directory_path() / ("vovrobot-" + std::to_string(random()));
    std::error_code error;
    fs::create_directories(scratch);
    fs::copy_file(options.runDir / "Vedezaviva.zez", scratch / "Vedezaviva.zez", error);
    if (error) {
        std::cerr << "vovrobot: no pack in " << options.runDir << std::endl;
        fs::remove_all(scratch, error);
        return 2;
    }
    fs::copy(options.runDir / "Flags", scratch / "Flags", fs::copy_options::recursive, error);
    fs::copy(options.runDir / "Countries", scratch / "Countries", fs::copy_options::recursive, error);
    if (!options.countries.empty()) {
        const fs::path list = fs::absolute(options.countries);
        for (const auto& entry : fs::directory_iterator(list.parent_path(), error))
            if (entry.is_regular_file() && entry.path().extension() == ".png")
                fs::copy_file(entry.path(), scratch / "Countries" / entry.path().filename(),
                              fs::copy_options::overwrite_existing, error);
        fs::copy_file(list, scratch / "Countries" / "countries.txt", fs::copy_options::overwrite_existing,
                      error);
    }
    std::ofstream(scratch / "config.ini") << "LANGUAGE=ENGLISH\nFULLSCREEN=NO\nBGMVOLUME=0\nSFXVOLUME=0\n";
    const fs::path home = fs::current_path();
    fs::current_path(scratch);

    int code = 0;
    {
        Robot* robotPointer = nullptr;
        TickSource::useFake([&robotPointer] { return robotPointer ? robotPointer->now_ : 1000u; },
                            [](uint32_t) {});
        Game game;
        if (game.startUp() != 0) {
            code = 2;
        } else {
            if (options.smallWindow) shrinkWindow(*game.scenes(), 360, 240);
            std::srand(options.seed);
            auto source = std::make_unique<FakeInput>();
            FakeInput& input = *source;
            input.mx = 640; // the pointer rests mid-window, where the view does not scroll
            input.my = 360;
            game.input()->setSource(std::move(source));
            ProgressRecord* progress = GameWide<ProgressRecord>::get();
            progress->loadFlags();
            progress->loadLevelList();
            Robot robot(game, input, options);
            robot.plan = plan;
            robotPointer = &robot;
            std::vector<int> which;
            if (options.all) {
                for (size_t i = 0; i < progress->levels.size(); ++i)
                    which.push_back(static_cast<int>(i));
            } else if (!options.name.empty()) {
                for (size_t i = 0; i < progress->levels.size(); ++i)
                    if (progress->levels[i].name == options.name) which.push_back(static_cast<int>(i));
            } else {
                which.push_back(options.level);
            }
            if (which.empty() || progress->levels.empty()) {
                std::cerr << "vovrobot: no such level" << std::endl;
                code = 2;
            }
            for (int index : which) {
                if (index < 0 || static_cast<size_t>(index) >= progress->levels.size()) {
                    std::cerr << "vovrobot: no level " << index << std::endl;
                    code = 2;
                    continue;
                }
                if (!robot.play(index) && code == 0) code = 1;
            }
            robotPointer = nullptr;
        }
        game.shutDown();
        TickSource::useReal();
    }
    fs::current_path(home);
    fs::remove_all(scratch, error);
    return code;
}
