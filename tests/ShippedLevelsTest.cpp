// Every shipped country level, read from data/Countries as the game reads it, checked against the
// rules a creature lives by: the level fits the size limits, the spawn and exit lie inside, the spawn's
// fall is survivable, the exit stands on ground, and everything the column can reach leads to the
// exit without a deadly fall or a trap. The walking model below is written from the creature's rules
// (probes 12 rows up and 3 down, climbs of 1 to 3, falls from a drop of 3, death above 66), not from
// the level script, so the script and this test check each other.
#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "assets/ImageData.h"
#include "assets/StringHelpers.h"

namespace {

const std::filesystem::path kCountries = std::filesystem::path(VOV_SOURCE_DIR) / "data" / "Countries";
const std::filesystem::path kLevelNames =
    std::filesystem::path(VOV_SOURCE_DIR) / "data" / "Assets" / "texts" / "levelnames.txt";

std::string readWhole(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

struct Line {
    int number = 0;
    std::vector<std::string> fields;
    int startX = 0, startY = 0, exitX = 0, exitY = 0, minutes = 0, survivors = 0, goal = 0, count = 0,
        interval = 0;
};

bool toInt(const std::string& text, int& out) {
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, out);
    return ec == std::errc() && ptr == end;
}

std::vector<Line> readList(std::vector<std::string>& problems) {
    std::vector<Line> lines;
    const std::string bytes = readWhole(kCountries / "countries.txt");
    int number = 0;
    for (const std::string& text : split(bytes, '\n')) {
        ++number;
        if (!text.empty() && text[0] == '#') continue;
        Line line;
        line.number = number;
        line.fields = split(text, ',');
        if (line.fields.size() < 12) {
            problems.push_back("line " + std::to_string(number) + " has fewer than 12 fields");
            continue;
        }
        int* numbers[] = {&line.startX,    &line.startY, &line.exitX, &line.exitY,   &line.minutes,
                          &line.survivors, &line.goal,   &line.count, &line.interval};
        bool ok = true;
        for (int i = 0; i < 9; ++i)
            ok = ok && toInt(line.fields[3 + i], *numbers[i]);
        if (!ok) {
            problems.push_back("line " + std::to_string(number) +
                               " has a field that is not a decimal integer");
            continue;
        }
        lines.push_back(line);
    }
    return lines;
}

// A terrain as the creatures see it: solid = red byte non-zero, paintable = any colour byte
// non-zero; outside the picture nothing is solid.
class Terrain {
  public:
    explicit Terrain(const ImageData& image) : w(image.width()), h(image.height()) {
        solid_.resize(size_t(w) * h);
        paintable_.resize(size_t(w) * h);
        red_.resize(size_t(w) * h);
        const int n = image.bytesPerPixel();
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const uint8_t* p = image.pixels() + size_t(y) * image.pitch() + size_t(x) * n;
                const bool colour = n >= 3 ? (p[0] | p[1] | p[2]) != 0 : p[0] != 0;
                red_[size_t(y) * w + x] = p[0];
                solid_[size_t(y) * w + x] = p[0] != 0;
                paintable_[size_t(y) * w + x] = colour;
            }
    }
    bool solid(int x, int y) const { return x >= 0 && x < w && y >= 0 && y < h && solid_[size_t(y) * w + x]; }
    bool paintable(int x, int y) const { return paintable_[size_t(y) * w + x]; }
    uint8_t red(int x, int y) const { return red_[size_t(y) * w + x]; }
    void set(int x, int y, bool s) {
        if (x >= 0 && x < w && y >= 0 && y < h) solid_[size_t(y) * w + x] = s;
    }

    const int w, h;

  private:
    std::vector<bool> solid_, paintable_;
    std::vector<uint8_t> red_;
};

constexpr int kDeadlyFall = 66;

// The creature's walking probe for one side: can it step, and by how much (positive down; 3 means
// the ground ended and it falls).
struct Probe {
    bool can;
    int step;
};

Probe probe(const Terrain& t, int x, int y, int dir) {
    const int column = x + dir;
    bool rows[16];
    for (int k = 0; k < 16; ++k)
        rows[k] = column < 0 || column >= t.w || t.solid(column, y - 12 + k);
    auto freeRows = [&](int a, int b) {
        for (int k = a; k <= b; ++k)
            if (rows[k]) return false;
        return true;
    };
    if (!rows[12]) {
        for (int d = 0; d < 3; ++d)
            if (rows[13 + d]) return {freeRows(7 - d, 12 - d), d};
        return {freeRows(7, 12), 3};
    }
    for (int c = 0; c < 3; ++c)
        if (!rows[11 - c]) return {freeRows(6 - c, 11 - c), -(c + 1)};
    return {false, -4};
}

// Falls straight down from (x, y): the landing row, or -1 when it leaves the level.
int land(const Terrain& t, int x, int y) {
    while (!t.solid(x, y + 1)) {
        if (++y >= t.h) return -1;
    }
    return y;
}

struct Place {
    int x, y;
    bool operator<(const Place& o) const { return x != o.x ? x < o.x : y < o.y; }
};

struct Walk {
    std::vector<std::string> problems;
    std::set<Place> reachable;
    std::set<Place> reachExit;
    // Fastest way from the spawn to the exit, in milliseconds of walking and falling.
    double fastestMs = -1;
};

// Floods every move a creature can make from the spawn; deadly falls and traps are problems unless
// `deathsAllowed` (the sea under a bridge the player is meant to build).
Walk flood(const Terrain& t, const Line& level, bool exitNeeded, bool deathsAllowed) {
    Walk walk;
    const int ex = level.exitX, ey = level.exitY;
    auto inExit = [&](int x, int y) { return x >= ex - 2 && x <= ex + 1 && y >= ey - 2 && y <= ey + 1; };
    const int startY = land(t, level.startX, level.startY);
    if (startY < 0 || startY - level.startY > kDeadlyFall) {
        walk.problems.push_back("the spawn's fall kills");
        return walk;
    }
    struct Move {
        Place to;
        double ms;
        bool passesExit;
    };
    std::map<Place, std::vector<Move>> moves;
    std::deque<Place> todo{{level.startX, startY}};
    walk.reachable.insert(todo.front());
    int deaths = 0, traps = 0, cramped = 0;
    while (!todo.empty()) {
        const Place at = todo.front();
        todo.pop_front();
        for (int k = 0; k <= 8; ++k)
            if (t.solid(at.x, at.y - k)) {
                ++cramped;
                break;
            }
        std::vector<Move>& out = moves[at];
        for (int dir : {1, -1}) {
            const Probe p = probe(t, at.x, at.y, dir);
            if (!p.can) continue;
            Move m{{at.x + dir, at.y + p.step}, 50.0, false};
            if (p.step >= 3) {
                const int to = land(t, at.x + dir, at.y);
                if (to < 0 || to - at.y > kDeadlyFall) {
                    ++deaths;
                    continue;
                }
                for (int y = at.y; y <= to; ++y)
                    m.passesExit = m.passesExit || inExit(at.x + dir, y);
                m.to.y = to;
                m.ms += (to - at.y) * 1000.0 / 45.0;
            }
            m.passesExit = m.passesExit || inExit(m.to.x, m.to.y);
            out.push_back(m);
            if (walk.reachable.insert(m.to).second) todo.push_back(m.to);
        }
        if (out.empty()) ++traps;
    }
    if (deaths && !deathsAllowed) walk.problems.push_back(std::to_string(deaths) + " deadly moves");
    if (traps) walk.problems.push_back(std::to_string(traps) + " places where a creature is trapped");
    if (cramped)
        walk.problems.push_back(std::to_string(cramped) + " walkable places with fewer than 9 free rows");

    // Backwards from the exit: who can get there.
    std::map<Place, std::vector<Place>> back;
    std::deque<Place> good;
    for (const auto& [from, list] : moves)
        for (const Move& m : list) {
            back[m.to].push_back(from);
            if (m.passesExit && walk.reachExit.insert(from).second) good.push_back(from);
        }
    while (!good.empty()) {
        const Place p = good.front();
        good.pop_front();
        for (const Place& q : back[p])
            if (walk.reachExit.insert(q).second) good.push_back(q);
    }
    size_t lost = 0;
    for (const Place& p : walk.reachable)
        lost += !walk.reachExit.count(p);
    if (exitNeeded && lost)
        walk.problems.push_back(std::to_string(lost) + " reachable places never reach the exit");

    // Fastest time to the exit (Dijkstra over the moves).
    std::map<Place, double> best;
    std::multimap<double, Place> queue;
    const Place start{level.startX, startY};
    best[start] = (startY - level.startY) * 1000.0 / 45.0;
    queue.emplace(best[start], start);
    while (!queue.empty()) {
        auto [ms, at] = *queue.begin();
        queue.erase(queue.begin());
        if (ms > best[at]) continue;
        for (const Move& m : moves[at]) {
            if (m.passesExit) {
                if (walk.fastestMs < 0 || ms + m.ms < walk.fastestMs) walk.fastestMs = ms + m.ms;
                continue;
            }
            auto it = best.find(m.to);
            if (it == best.end() || ms + m.ms < it->second) {
                best[m.to] = ms + m.ms;
                queue.emplace(ms + m.ms, m.to);
            }
        }
    }
    return walk;
}

struct Plan {
    bool build = false;
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
};

// A level's builds and digs, a line each in the list.
using Plans = std::map<std::string, std::vector<Plan>>;

Plans readPlans() {
    Plans plans;
    for (const std::string& text : split(readWhole(kCountries / "plans.txt"), '\n')) {
        if (text.empty() || text[0] == '#') continue;
        const std::vector<std::string> f = split(text, ',');
        if (f.size() < 6) continue;
        Plan p;
        p.build = f[1] == "build";
        toInt(f[2], p.x0), toInt(f[3], p.y0), toInt(f[4], p.x1), toInt(f[5], p.y1);
        plans[f[0]].push_back(p);
    }
    return plans;
}

// The terrain as the player leaves it once every planned build and dig is done.
void carryOut(Terrain& t, const std::vector<Plan>& edits) {
    for (const Plan& e : edits)
        for (int y = e.y0; y <= e.y1; ++y)
            for (int x = e.x0; x <= e.x1; ++x)
                t.set(x, y, e.build);
}

bool anyBuild(const std::vector<Plan>& edits) {
    return std::any_of(edits.begin(), edits.end(), [](const Plan& e) { return e.build; });
}

struct Loaded {
    Line line;
    std::unique_ptr<ImageData> terrain, stamp;
};

class ShippedLevels : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        levels_ = new std::vector<Loaded>;
        listProblems_ = new std::vector<std::string>;
        for (Line& line : readList(*listProblems_)) {
            Loaded l;
            l.terrain = ImageData::decodeFile((kCountries / line.fields[1]).string().c_str());
            l.stamp = ImageData::decodeFile((kCountries / line.fields[2]).string().c_str());
            l.line = std::move(line);
            levels_->push_back(std::move(l));
        }
    }
    static void TearDownTestSuite() {
        delete levels_;
        delete listProblems_;
    }
    static std::vector<Loaded>* levels_;
    static std::vector<std::string>* listProblems_;
};
std::vector<Loaded>* ShippedLevels::levels_ = nullptr;
std::vector<std::string>* ShippedLevels::listProblems_ = nullptr;

} // namespace

TEST_F(ShippedLevels, ListNamesAndPicturesFitTheGame) {
    EXPECT_TRUE(listProblems_->empty()) << (*listProblems_)[0];
    ASSERT_GE(levels_->size(), 100u);
    std::set<std::string> named;
    for (const std::string& text : split(readWhole(kLevelNames), '\n'))
        if (!text.empty() && text[0] != '#') named.insert(text.substr(0, text.find('\t')));
    std::set<std::string> keys;
    for (const Loaded& l : *levels_) {
        const Line& v = l.line;
        const std::string& key = v.fields[0];
        SCOPED_TRACE(key);
        EXPECT_TRUE(keys.insert(key).second) << "key used twice";
        EXPECT_TRUE(named.count(key)) << "no name in levelnames.txt";
        for (char c : key)
            EXPECT_TRUE(c >= ' ' && c <= '~') << "not printable ASCII";
        EXPECT_TRUE(l.terrain && l.stamp) << v.fields[1] << " or " << v.fields[2] << " does not decode";
        if (!l.terrain || !l.stamp) continue;
        EXPECT_EQ(l.terrain->bytesPerPixel(), 4);
        EXPECT_EQ(l.stamp->bytesPerPixel(), 4);
        EXPECT_GE(l.terrain->width(), 320);
        EXPECT_LE(l.terrain->width(), 1600);
        EXPECT_GE(l.terrain->height(), 200);
        EXPECT_LE(l.terrain->height(), 1000);
        EXPECT_GE(std::max(l.stamp->width(), l.stamp->height()), 12);
        EXPECT_LE(std::max(l.stamp->width(), l.stamp->height()), 20);
        EXPECT_GE(v.minutes, 1);
        EXPECT_LE(v.minutes, 999);
        EXPECT_GE(v.count, 1);
        EXPECT_LE(v.count, 999);
        EXPECT_GT(v.interval, 0);
        EXPECT_GT(v.goal, 0);
        EXPECT_LE(v.goal, 100);
        EXPECT_GE(v.survivors, 0);
        EXPECT_LE(v.survivors, 100);
        // With fewer creatures than it takes to reach the survivor share, one loss is fatal at once.
        EXPECT_LE(v.survivors * v.count / 100, v.count - 1);
    }
}

// Spawn and exit placement, the spawn's fall, the exit's ground, and reachability: for a level that
// asks for building or digging both before them (no trap, no deadly fall except into the sea a
// bridge spans, and no way to the exit) and after them (everything reaches the exit).
TEST_F(ShippedLevels, EveryLevelCanBeWalkedFromTheSpawnToTheExit) {
    const Plans plans = readPlans();
    for (const Loaded& l : *levels_) {
        if (!l.terrain) continue;
        const Line& v = l.line;
        SCOPED_TRACE(v.fields[0]);
        Terrain t(*l.terrain);
        const bool inside = v.startX >= 0 && v.startX < t.w && v.startY >= 0 && v.startY < t.h &&
                            v.exitX >= 0 && v.exitX < t.w && v.exitY >= 0 && v.exitY < t.h;
        EXPECT_TRUE(inside) << "spawn or exit outside the terrain";
        if (!inside) continue;
        for (int k = 0; k <= 8; ++k)
            EXPECT_FALSE(t.solid(v.startX, v.startY - k)) << "spawn not free " << k;
        EXPECT_TRUE(t.solid(v.exitX, v.exitY)) << "no ground under the exit";
        EXPECT_FALSE(t.solid(v.exitX, v.exitY - 1)) << "the exit is not on the first ground row";
        EXPECT_FALSE(v.startX >= v.exitX - 2 && v.startX <= v.exitX + 1 && v.startY >= v.exitY - 2 &&
                     v.startY <= v.exitY + 1)
            << "spawn inside the exit box";

        const auto plan = plans.find(v.fields[0]);
        if (plan != plans.end()) {
            const Walk before = flood(t, v, false, anyBuild(plan->second));
            for (const std::string& p : before.problems)
                ADD_FAILURE() << "before the plan: " << p;
            EXPECT_LT(before.fastestMs, 0) << "the level can be won without its builds and digs";
            carryOut(t, plan->second);
        }
        const Walk walk = flood(t, v, true, false);
        for (const std::string& p : walk.problems)
            ADD_FAILURE() << p;
        EXPECT_GT(walk.fastestMs, 0) << "the exit cannot be reached";
        // The last creature leaves the door 3.2 s + (count - 1) intervals into play and must still
        // have time to walk the fastest way in.
        const double lastArrivalMs = 3200.0 + double(v.count - 1) * v.interval + walk.fastestMs;
        EXPECT_LT(lastArrivalMs * 1.15, v.minutes * 60000.0) << "too little time: " << lastArrivalMs << " ms";
    }
}

// Painting: the red byte codes the height within the country (1 to 254, growing downwards) so the
// flag's stripes land across it, and the goal is a share the column can paint by walking.
TEST_F(ShippedLevels, StripesFollowHeightAndTheGoalCanBePainted) {
    const Plans plans = readPlans();
    for (const Loaded& l : *levels_) {
        if (!l.terrain || !l.stamp) continue;
        const Line& v = l.line;
        SCOPED_TRACE(v.fields[0]);
        Terrain t(*l.terrain);
        int lastRed = 0;
        bool redInRange = true, redGrows = true;
        for (int y = 0; y < t.h; ++y)
            for (int x = 0; x < t.w; ++x)
                if (t.solid(x, y)) {
                    redInRange = redInRange && t.red(x, y) >= 1 && t.red(x, y) <= 254;
                    redGrows = redGrows && t.red(x, y) >= lastRed;
                    lastRed = t.red(x, y);
                }
        EXPECT_TRUE(redInRange) << "a solid pixel paints its own colour instead of the flag's";
        EXPECT_TRUE(redGrows) << "the height code does not grow downwards";

        // Upper bound of what walking paints: the stamp's rows around every foot place reachable once
        // the level's builds and digs are done.
        const auto plan = plans.find(v.fields[0]);
        if (plan != plans.end()) carryOut(t, plan->second);
        const Walk walk = flood(t, v, false, true);
        const int sw = l.stamp->width(), sh = l.stamp->height();
        std::vector<bool> painted(size_t(t.w) * t.h);
        const uint8_t* stamp = l.stamp->pixels();
        for (const Place& p : walk.reachable)
            for (int j = 0; j < sh; ++j)
                for (int i = 0; i < sw; ++i) {
                    const uint8_t* s = stamp + size_t(j) * l.stamp->pitch() + size_t(i) * 4;
                    if ((s[0] | s[1] | s[2]) == 0) continue;
                    const int x = p.x - sw / 2 + i, y = p.y - sh / 2 + j;
                    if (x >= 0 && y >= 0 && x < t.w && y < t.h) painted[size_t(y) * t.w + x] = true;
                }
        long paintable = 0, reached = 0;
        for (int y = 0; y < t.h; ++y)
            for (int x = 0; x < t.w; ++x)
                if (t.paintable(x, y)) {
                    ++paintable;
                    reached += painted[size_t(y) * t.w + x];
                }
        ASSERT_GT(paintable, 0);
        EXPECT_LE(v.goal * 100, reached * 100 * 100 / paintable * 9 / 10)
            << "goal " << v.goal << "% leaves no slack: walking paints at most " << reached * 100 / paintable
            << "%";
    }
}

// The first levels teach one thing each; from the eleventh on every level asks the player to dig (or
// build) their way, and the later ones to do both, so the tools stay the heart of the game.
TEST_F(ShippedLevels, LaterLevelsAskForTheTools) {
    const Plans plans = readPlans();
    int both = 0;
    for (size_t i = 0; i < levels_->size(); ++i) {
        const std::string& key = (*levels_)[i].line.fields[0];
        const auto plan = plans.find(key);
        const bool builds = plan != plans.end() && anyBuild(plan->second);
        const bool digs = plan != plans.end() && std::any_of(plan->second.begin(), plan->second.end(),
                                                             [](const Plan& e) { return !e.build; });
        if (i >= 10) {
            EXPECT_TRUE(plan != plans.end()) << key << " asks for neither building nor digging";
        }
        both += builds && digs;
    }
    EXPECT_GE(both, 10) << "levels that ask for a bridge and a dig";
}
