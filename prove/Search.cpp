// SPDX-License-Identifier: GPL-3.0-or-later
// The prover's search. Phase one is a shortest-first search (in frames) over the moves that cost
// no life, which finds the route; phase two goes on from every state a death leads to, so the
// graph holds everything the level allows. Dead ends are then the states from which no edge
// path reaches the exit.
#include "Search.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdlib>
#include <map>
#include <memory>
#include <queue>
#include <stdexcept>
#include <tuple>
#include <unordered_map>
#include <utility>

#include "FlatIndex.h"
#include "LevelPlay.h"
#include "SnapshotPack.h"
#include "StateKey.h"

namespace zorvik {

namespace {

constexpr int32_t kExitNode = -2;
// A forced stretch (keys cannot matter) longer than this ends an edge anyway.
constexpr uint32_t kMaxForcedSteps = 4000;

// What the classification of dead ends needs of a state.
struct Summary {
    int16_t col = 0, row = 0;
    int16_t beamCharges = 0;
    int16_t signpostCol = 0, signpostRow = 0;
    uint16_t figuresAlive = 0;
    uint32_t stones = 0;  // a hash of where the stones are and how they move
};

// A state less its restart point (the signpost a death leads back to). Nothing but a death reads
// the restart point, so the moves without a death are played once per core, whichever restart
// points it is reached with; a move that dies is played again for each of them, from the frame
// of the death on (its DeathPoint).
struct Core {
    Summary summary;      // with the restart point of the snapshot it was found as
    double height = 0.0;  // the player's exact height, to tell when the key merged two
    uint32_t firstMove = 0;
    uint16_t moveCount = 0;
    bool expanded = false;
    std::vector<uint64_t> packed;  // the snapshot, until its moves are played
};

// A core's states with their restart points, kept apart from the core in a small array: a core is
// mostly reached with every restart point of its level, and there are few of those, so an
// arrival costs one cache miss instead of one for the core and one for each state looked at. A
// fifth state and later ones follow Node::nextOfCore from `more`.
struct CoreStates {
    static constexpr int kInline = 4;
    std::array<int32_t, kInline> state{-1, -1, -1, -1};
    std::array<uint8_t, kInline> restart{};
    int32_t more = -1;
};

// A move from a core: keys for a step, then none while nothing else could be chosen.
struct Move {
    int32_t to;     // the core it leads to; kExitNode for the exit, -1 when it dies
    int16_t touch;  // the restart point of the last signpost it touched, -1 for none
    uint8_t keys;
    uint32_t forced;  // for a move that dies: the index of its DeathPoint
    uint32_t frames;
};

// A move that dies, as it stands before the frame the player dies in: everything before that
// frame is the same whatever the restart point, so each restart point plays on from here.
struct DeathPoint {
    std::vector<uint64_t> packed;  // the snapshot
    uint8_t keys = 0;              // held in the step of the death
    uint32_t forced = 0;           // steps of no keys after the move's first, to the death's end
    uint32_t frames = 0;           // frames from the core to here
};

// A state: a core and its restart point, with the way the search first came to it.
struct Node {
    int32_t core = 0;
    int32_t nextOfCore = -1;  // the core's next state beyond its first four, -1 for none
    uint8_t restart = 0;      // index into the restart points
    int32_t parent = -1;
    uint32_t frames = 0;  // frames from the start along the parent edges
    uint32_t forced = 0;  // steps of no keys after the edge's first step
    uint8_t keys = 0;     // keys of the edge's first step
    bool viaDeath = false;
    bool noDeathPath = false;  // the parent path loses no life
    bool expanded = false;
};

struct Edge {
    int32_t from;
    int32_t to;  // kExitNode for the exit or goal
    bool death;
    uint8_t keys;     // keys of the edge's first step
    uint32_t forced;  // steps of no keys after it
    uint32_t frames;  // frames the edge takes
};

// For the first route's heading: the distance from every cell to the nearest exit or goal in
// pixels, cell by cell through the air, where passing through a solid cell costs as much as four
// cells around it (a slab can be jumped through from below, a wall not). It only orders the
// search; the route is played and checked all the same.
std::vector<uint32_t> DistancesToExits(const PlayState& p, const std::vector<Cell>& exits) {
    constexpr uint32_t kFar = UINT32_MAX / 8;
    std::vector<uint32_t> dist(kMapCols * kMapRows, kFar);
    using Item = std::pair<uint32_t, int>;
    std::priority_queue<Item, std::vector<Item>, std::greater<>> open;
    for (const Cell& e : exits) {
        const int at = e.row * kMapCols + e.col;
        dist[static_cast<size_t>(at)] = 0;
        open.push({0, at});
    }
    while (!open.empty()) {
        const auto [d, at] = open.top();
        open.pop();
        if (d != dist[static_cast<size_t>(at)]) continue;
        const int col = at % kMapCols;
        const int row = at / kMapCols;
        for (const auto& [dc, dr] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
            const int c = col + dc;
            const int r = row + dr;
            if (c < 0 || c >= kMapCols || r < 0 || r >= kMapRows) continue;
            const uint32_t step = p.mapSolid(col, row) != 0 ? 4 * kCell : kCell;
            const size_t to = static_cast<size_t>(r * kMapCols + c);
            if (d + step < dist[to]) {
                dist[to] = d + step;
                open.push({d + step, static_cast<int>(to)});
            }
        }
    }
    return dist;
}

Summary Summarize(const PlayState& p) {
    Summary s;
    s.col = p.playerCol;
    s.row = p.playerRow;
    s.beamCharges = p.beamCharges;
    s.signpostCol = p.signpostCol;
    s.signpostRow = p.signpostRow;
    for (int i = 1; i <= p.figureEnemyCount && i < 16; ++i)
        if (p.figureEnemies[static_cast<size_t>(i)].alive != 0)
            s.figuresAlive = static_cast<uint16_t>(s.figuresAlive | (1u << i));
    uint32_t h = 2166136261u;
    for (int i = 1; i <= p.stoneCount && i < static_cast<int>(p.stones.size()); ++i) {
        const Stone& st = p.stones[static_cast<size_t>(i)];
        for (int16_t v : {st.column, st.row, st.offsetX, st.offsetY, st.rollLeft, st.falling})
            h = (h ^ static_cast<uint16_t>(v)) * 16777619u;
    }
    s.stones = h;
    return s;
}

// The key combinations worth trying at a step: only what the player's action choice can tell
// apart in this state. While keys cannot be latched, jumping, falling or firing, none matter.
int Options(const PlayState& p, int jumpEvery, uint8_t out[8]) {
    int n = 0;
    out[n++] = 0;
    if (p.keyDelay > 2 || p.playerFalling != 0 || p.playerJumping != 0 || p.beamActive != 0) {
        return n;
    }
    if (p.playerBusy != 0) {
        // An animation runs: only a jump replaces it. A jump out of a walk or a run (frames up
        // to 113) starts where no standing jump could; one out of a turn, a landing or the beam
        // pose starts where the player stands anyway, so it waits for the animation's end.
        if (jumpEvery > 0 && p.playerFrame <= 113 && p.playerFrame % jumpEvery == 0) {
            out[n++] = kKeyUp;
            out[n++] = kKeyUp | kKeyCtrl;
        }
        return n;
    }
    out[n++] = kKeyUp;
    out[n++] = kKeyUp | kKeyCtrl;
    switch (p.playerState) {
        case 0:
            out[n++] = kKeyRight;
            out[n++] = kKeyLeft;
            if (p.beamCharges > 0) out[n++] = kKeyShift;
            break;
        case 1:
            out[n++] = kKeyRight;
            out[n++] = kKeyRight | kKeyCtrl;
            break;
        case 3:
            out[n++] = kKeyLeft;
            out[n++] = kKeyLeft | kKeyCtrl;
            break;
        default:
            break;
    }
    return n;
}

bool Forced(const PlayState& p, int jumpEvery) {
    uint8_t options[8];
    return Options(p, jumpEvery, options) == 1;
}

// A shortest-first queue of states by their frames from the start, for the whole search and for
// the shortest paths at its end. Every edge takes a frame at least, so the frames taken never go
// down and buckets by frames do what a heap would, in constant time; a bucket is taken in the
// order of its states' numbers, as a heap of (frames, state) takes them.
class FrameBuckets {
  public:
    void Push(uint32_t frames, int32_t id) {
        if (taken_ && frames <= taking_) {
            throw std::logic_error("a state queued behind the frames already taken");
        }
        if (frames >= buckets_.size()) buckets_.resize(static_cast<size_t>(frames) + 1);
        buckets_[frames].push_back(id);
        ++size_;
    }
    bool Empty() const { return size_ == 0; }
    // The first state among those reached in the fewest frames; not when empty.
    int32_t Pop() {
        while (next_ == current_.size()) {
            next_ = 0;
            taking_ = taken_ ? taking_ + 1 : 0;
            taken_ = true;
            while (buckets_[taking_].empty())
                ++taking_;
            current_ = std::exchange(buckets_[taking_], {});
            std::sort(current_.begin(), current_.end());
        }
        --size_;
        return current_[next_++];
    }
    // The frames of the state Pop gave last.
    uint32_t Frames() const { return taking_; }

  private:
    std::vector<std::vector<int32_t>> buckets_;  // by frames
    std::vector<int32_t> current_;               // the bucket being taken
    size_t next_ = 0;
    uint32_t taking_ = 0;  // its frames
    bool taken_ = false;   // whether one was taken yet
    size_t size_ = 0;
};

class Search {
  public:
    Search(const std::string& tilePath, const ProveOptions& options)
        : tilePath_(tilePath), options_(options), play_(tilePath) {}

    // The order of the first phase: frames from the start; for the first route only, mostly the
    // distance to the nearest exit, so the search heads for it.
    uint64_t Priority(const Summary& s, uint32_t frames) const {
        if (!options_.stopAtFirstRoute || exits_.empty()) return frames;
        const int col = std::clamp<int>(s.col, 0, kMapCols - 1);
        const int row = std::clamp<int>(s.row, 0, kMapRows - 1);
        return static_cast<uint64_t>(toExit_[static_cast<size_t>(row * kMapCols + col)]) * 4 +
               frames;
    }

    ProveResult Run();

    uint64_t Key(const PlayState& p, long frames) const {
        return options_.coarseRoute ? keys_->RouteKey(p) : keys_->Key(p, frames);
    }
    uint64_t Key(const PlaySnapshot& snapshot) const { return Key(snapshot.play, snapshot.frames); }

  private:
    // Plays one edge from the state in `from`: `keys` for a step, then no keys while nothing
    // else could be chosen. Returns the events; the game is left in the edge's end state.
    // With `untilDeath`, it stops at the end of the step in which the player died.
    PlayEvents PlayEdge(const PlaySnapshot& from, uint8_t keys, uint32_t& forced, bool untilDeath);
    // Plays on with no keys while nothing else could be chosen; adds to `events` and `forced`.
    void PlayForced(PlayEvents& events, uint32_t& forced, bool untilDeath);
    // PlayEdge, false when the game stopped on an error (the level has a fault the report names).
    bool TryEdge(const PlaySnapshot& from, uint8_t keys, uint32_t& forced, PlayEvents& events,
                 bool untilDeath = false);
    // Where the wait at the restart point after a death leads, and what it takes.
    struct AfterDeath {
        int32_t core = -1;  // kExitNode when the wait reaches the exit
        int restart = 0;
        uint32_t forced = 0;
        uint32_t frames = 0;
    };
    // The wait after the step the player died in, which the game is at. It is played once for
    // each such moment (its key and restart point): deaths from many states meet there, and the
    // wait is most of a death's frames. False when the game stopped on an error.
    bool WaitAfterDeath(AfterDeath& after);
    // Searches on from state `id`: its core's moves without a death lead on with the state's
    // restart point (or the signpost they touched), and its deaths are played with it.
    void Expand(int32_t id);
    // Plays every move from a core, with no signpost lit, so that a touched one shows; `via` is
    // the state searched on from it.
    void ExpandCore(int32_t core, int32_t via);
    // The point before the death of the move `keys` from `from`, whose life was lost in the frame
    // that brought the clock to `deathFrame`, in the step after `deathStep` steps: the move is
    // played again up to it.
    DeathPoint PointBeforeDeath(const PlaySnapshot& from, uint8_t keys, long deathFrame,
                                long deathStep);
    // The move that dies from its death point on, with the restart point `restart`: where the
    // player starts again, and what it takes. False when the game stopped on an error.
    bool PlayDeath(const DeathPoint& point, int restart, AfterDeath& after, bool& finished);
    // The core of the game as it stands, added when new (only then is the game copied).
    int32_t CoreOf();
    // Whether arriving at a state known as `node` without a death so far (or not) in `frames`
    // is a better way to it, to be searched on instead. The whole search keeps the first way,
    // so that every state is searched once.
    bool Improves(const Node& node, bool noDeath, uint32_t frames) const {
        return options_.stopAtFirstRoute && !node.expanded &&
               ((noDeath && !node.noDeathPath) ||
                (noDeath == node.noDeathPath && frames < node.frames));
    }
    // The state (core, restart point), -1 when it was not reached.
    int32_t FindState(int32_t core, int restart) const {
        const CoreStates& states = statesOf_[static_cast<size_t>(core)];
        for (int k = 0; k < CoreStates::kInline; ++k) {
            const auto at = static_cast<size_t>(k);
            if (states.state[at] < 0 || states.restart[at] == restart) return states.state[at];
        }
        for (int32_t v = states.more; v >= 0; v = nodes_[static_cast<size_t>(v)].nextOfCore)
            if (nodes_[static_cast<size_t>(v)].restart == restart) return v;
        return -1;
    }
    // The state (core, restart point), added when new; whether it is new.
    std::pair<int32_t, bool> AddState(int32_t core, int restart);
    // Arrives at (core, restart) from state `from` over an edge; adds the state when new.
    void Arrive(int32_t from, int32_t core, int restart, bool death, uint8_t keys, uint32_t forced,
                uint32_t cost);
    // The state of a snapshot, -1 when it was not searched.
    int32_t StateOf(const PlaySnapshot& snapshot) const;
    // The index of a restart point, -1 when it is not one.
    int FindRestart(int col, int row) const;
    // The index of a restart point, added when new.
    int RestartIndex(int col, int row);
    // Lights the restart point `restart` alone (or, with -1, none).
    void SetRestart(PlaySnapshot& snapshot, int restart) const;
    Summary SummaryOf(int32_t id) const;
    bool OverBudget();
    // Seconds since Run started.
    double Elapsed() const {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - started_).count();
    }
    Replay PathTo(int32_t id) const;
    // Shortest paths in frames from the start over the searched moves, the exit as the last node.
    struct Shortest {
        std::vector<uint64_t> frames;
        std::vector<int64_t> via;  // the edge each node is reached by, -1 for none
        Replay To(const std::vector<Edge>& edges, size_t node) const;
    };
    Shortest ShortestPaths(bool deaths) const;
    bool ShortestRoute(Replay& route, long& frames) const;
    Replay ReplayInto(const Shortest& paths, int32_t id, const std::vector<char>& live);
    void FindDeadEnds(ProveResult& result);
    void FindUnreachablePickups(ProveResult& result) const;
    void CheckRoute(ProveResult& result);
    std::string StoneReason(const Replay& before, const Replay& after);

    // Whether the exit can be reached without a death from where `into` leads, searched afresh:
    // a dead state the key merged with another may have a way out the other lacks.
    bool WayOutFrom(const Replay& into);

    std::string tilePath_;
    ProveOptions options_;
    LevelPlay play_;
    PlaySnapshot loaded_;
    std::unique_ptr<SnapshotPacker> packer_;
    std::unique_ptr<StateKeys> keys_;
    std::vector<Core> cores_;
    std::vector<CoreStates> statesOf_;  // by core
    std::vector<Move> moves_;
    std::vector<DeathPoint> deathPoints_;
    FlatIndex coreIndex_;
    // The waits after a death, by the key of the step the player died in and its restart point.
    std::unordered_map<uint64_t, AfterDeath> afterDeath_;
    std::vector<Cell> restarts_;  // the restart points: the signposts and where the level starts
    std::vector<Node> nodes_;     // the states
    std::vector<Edge> edges_;     // between states
    // The first route's queue: (priority, frames, node), the frames tell a stale entry from the
    // node's best.
    using Entry = std::tuple<uint64_t, uint32_t, int32_t>;
    std::priority_queue<Entry, std::vector<Entry>, std::greater<>> open_;
    std::vector<Cell> exits_;  // the level's exit and goal cells
    // Pixels from each cell to the nearest exit or goal around the walls (DistancesToExits).
    std::vector<uint32_t> toExit_;
    FrameBuckets byFrames_;  // the whole search's queue while it goes shortest first
    bool shortestFirst_ = false;
    std::vector<int32_t> depthFirst_;  // the whole search's stack of states to expand
    // The best exit edge found without a death.
    int32_t exitFrom_ = -1;
    uint8_t exitKeys_ = 0;
    uint32_t exitForced_ = 0;
    uint32_t exitFrames_ = UINT32_MAX;
    std::chrono::steady_clock::time_point started_;
    bool budgetStopped_ = false;
    bool heightsMerged_ = false;
    long expansions_ = 0;
    std::vector<std::string> messages_;
    std::array<bool, kMapCols * kMapRows> visited_{};  // cells the player stood in while searched
};

PlayEvents Search::PlayEdge(const PlaySnapshot& from, uint8_t keys, uint32_t& forced,
                            bool untilDeath) {
    play_.Restore(from);
    PlayEvents events = play_.Hold(keys, 1);
    forced = 0;
    PlayForced(events, forced, untilDeath);
    return events;
}

void Search::PlayForced(PlayEvents& events, uint32_t& forced, bool untilDeath) {
    const auto goesOn = [&] { return !events.Finished() && !(untilDeath && events.deaths > 0); };
    const auto wait = [&] {
        const PlayEvents more = play_.Hold(0, 1);
        events.deaths += more.deaths;
        events.left = more.left;
        events.won = more.won;
        ++forced;
    };
    while (goesOn() && forced < kMaxForcedSteps && Forced(state.play, options_.jumpEvery))
        wait();
    // Standing still with nothing moving, the player may as well wait for the clock's phase 0
    // (steps fall on phases 0 and 1, so one step at most): every walk and jump from here then
    // starts on the same phase, and a pose of the player has one phase, not three.
    for (int i = 0;
         i < 3 && goesOn() && play_.Frames() % 3 != 0 && StandingInStillWorld(state.play); ++i)
        wait();
}

bool Search::TryEdge(const PlaySnapshot& from, uint8_t keys, uint32_t& forced, PlayEvents& events,
                     bool untilDeath) {
    try {
        events = PlayEdge(from, keys, forced, untilDeath);
        return true;
    } catch (const std::exception& e) {
        if (messages_.size() < 10) messages_.push_back(e.what());
        return false;
    }
}

bool Search::WaitAfterDeath(AfterDeath& after) {
    const PlayState& dead = state.play;
    const long diedAt = play_.Frames();
    const int restart = RestartIndex(dead.signpostCol, dead.signpostRow);
    const uint64_t key =
        Key(dead, diedAt) ^ (static_cast<uint64_t>(restart + 1) * 0x9E3779B97F4A7C15u);
    if (const auto known = afterDeath_.find(key); known != afterDeath_.end()) {
        after = known->second;
        return true;
    }
    PlayEvents events;
    after = AfterDeath{};
    try {
        PlayForced(events, after.forced, false);
    } catch (const std::exception& e) {
        if (messages_.size() < 10) messages_.push_back(e.what());
        return false;
    }
    after.frames = static_cast<uint32_t>(play_.Frames() - diedAt);
    if (events.Finished()) {
        after.core = kExitNode;
    } else {
        after.restart = RestartIndex(state.play.signpostCol, state.play.signpostRow);
        after.core = CoreOf();
    }
    afterDeath_.emplace(key, after);
    return true;
}

bool Search::OverBudget() {
    if (budgetStopped_) return true;
    if (static_cast<long>(nodes_.size()) >= options_.maxStates) budgetStopped_ = true;
    if ((++expansions_ & 255) == 0) {
        if (Elapsed() > options_.seconds) budgetStopped_ = true;
    }
    return budgetStopped_;
}

int Search::FindRestart(int col, int row) const {
    const auto it = std::find(restarts_.begin(), restarts_.end(), Cell{col, row});
    return it == restarts_.end() ? -1 : static_cast<int>(it - restarts_.begin());
}

int Search::RestartIndex(int col, int row) {
    if (const int known = FindRestart(col, row); known >= 0) return known;
    if (restarts_.size() >= 255) throw std::runtime_error("too many signposts");
    restarts_.push_back({col, row});
    return static_cast<int>(restarts_.size()) - 1;
}

void Search::SetRestart(PlaySnapshot& snapshot, int restart) const {
    PlayState& p = snapshot.play;
    for (const Cell& c : restarts_)
        if (p.mapItems(c.col, c.row) == kSignpostLit) p.mapItems(c.col, c.row) = kSignpost;
    if (restart < 0) return;
    const Cell& at = restarts_[static_cast<size_t>(restart)];
    p.signpostCol = static_cast<int16_t>(at.col);
    p.signpostRow = static_cast<int16_t>(at.row);
    if (p.mapItems(at.col, at.row) == kSignpost) p.mapItems(at.col, at.row) = kSignpostLit;
}

Summary Search::SummaryOf(int32_t id) const {
    const Node& node = nodes_[static_cast<size_t>(id)];
    Summary s = cores_[static_cast<size_t>(node.core)].summary;
    const Cell& restart = restarts_[node.restart];
    s.signpostCol = static_cast<int16_t>(restart.col);
    s.signpostRow = static_cast<int16_t>(restart.row);
    return s;
}

int32_t Search::CoreOf() {
    const PlayState& p = state.play;
    const uint64_t key = Key(p, play_.Frames());
    const auto [id, isNew] = coreIndex_.TryEmplace(key, static_cast<int32_t>(cores_.size()));
    if (!isNew) {
        if (cores_[static_cast<size_t>(id)].height != p.playerOffsetY) heightsMerged_ = true;
        return id;
    }
    Core core;
    core.summary = Summarize(p);
    core.height = p.playerOffsetY;
    core.packed = packer_->Pack(play_.Save());
    cores_.push_back(std::move(core));
    statesOf_.emplace_back();
    return id;
}

int32_t Search::StateOf(const PlaySnapshot& snapshot) const {
    const int32_t core = coreIndex_.Find(Key(snapshot));
    const int restart = FindRestart(snapshot.play.signpostCol, snapshot.play.signpostRow);
    if (core < 0 || restart < 0) return -1;
    return FindState(core, restart);
}

void Search::ExpandCore(int32_t id, int32_t via) {
    PlaySnapshot from;
    packer_->Unpack(cores_[static_cast<size_t>(id)].packed, from);
    SetRestart(from, -1);
    const auto firstMove = static_cast<uint32_t>(moves_.size());
    uint8_t options[8];
    const int count = Options(from.play, options_.jumpEvery, options);
    for (int k = 0; k < count; ++k) {
        uint32_t forced = 0;
        PlayEvents events;
        // A move that dies is played on from its death point for each restart point (Expand);
        // here it is played to show that it dies, then again to the frame before the death.
        if (!TryEdge(from, options[k], forced, events, true)) continue;
        Move move{-1, -1, options[k], forced, static_cast<uint32_t>(play_.Frames() - from.frames)};
        if (events.deaths > 0) {
            // The first route's search never dies, so it needs no death points.
            if (options_.stopAtFirstRoute) continue;
            try {
                deathPoints_.push_back(
                    PointBeforeDeath(from, options[k], play_.DeathFrame(), play_.DeathStep()));
            } catch (const std::exception& e) {
                if (messages_.size() < 10) messages_.push_back(e.what());
                continue;
            }
            move.forced = static_cast<uint32_t>(deathPoints_.size() - 1);
        } else if (events.Finished()) {
            move.to = kExitNode;
        } else {
            const PlayState& to = state.play;
            if (to.mapItems(to.signpostCol, to.signpostRow) == kSignpostLit)
                move.touch = static_cast<int16_t>(RestartIndex(to.signpostCol, to.signpostRow));
            const size_t known = cores_.size();
            move.to = CoreOf();
            // The first route's search (one state per core: it never dies) searches on from a
            // core as it was found the best way.
            const int32_t reached =
                options_.stopAtFirstRoute && static_cast<size_t>(move.to) < known
                    ? FindState(move.to, 0)
                    : -1;
            const Node& source = nodes_[static_cast<size_t>(via)];
            if (reached >= 0 && Improves(nodes_[static_cast<size_t>(reached)], source.noDeathPath,
                                         source.frames + move.frames)) {
                Core& better = cores_[static_cast<size_t>(move.to)];
                better.packed = packer_->Pack(play_.Save());
                better.summary = Summarize(to);
                better.height = to.playerOffsetY;
            }
        }
        moves_.push_back(move);
    }
    Core& core = cores_[static_cast<size_t>(id)];
    core.expanded = true;
    core.firstMove = firstMove;
    core.moveCount = static_cast<uint16_t>(moves_.size() - firstMove);
    std::vector<uint64_t>().swap(core.packed);
}

DeathPoint Search::PointBeforeDeath(const PlaySnapshot& from, uint8_t keys, long deathFrame,
                                    long deathStep) {
    const long step = deathStep - from.steps;  // 0 for the move's own step
    play_.Restore(from);
    // The move's keys for its first step, then none up to the frame before the death.
    if (step > 0) play_.Hold(keys, 1);
    DeathPoint point;
    point.keys = step > 0 ? 0 : keys;
    play_.HoldUntil(point.keys, deathFrame - 1);
    point.packed = packer_->Pack(play_.Save());
    point.forced = static_cast<uint32_t>(step);
    point.frames = static_cast<uint32_t>(play_.Frames() - from.frames);
    return point;
}

bool Search::PlayDeath(const DeathPoint& point, int restart, AfterDeath& after, bool& finished) {
    PlaySnapshot at;
    packer_->Unpack(point.packed, at);
    // A signpost touched on the way lit itself and set where the player starts again (no other
    // is lit in a core's snapshot); otherwise that is the state's restart point.
    if (at.play.mapItems(at.play.signpostCol, at.play.signpostRow) != kSignpostLit)
        SetRestart(at, restart);
    PlayEvents events;
    try {
        play_.Restore(at);
        events = play_.Hold(point.keys, 1);
    } catch (const std::exception& e) {
        if (messages_.size() < 10) messages_.push_back(e.what());
        return false;
    }
    const auto cost = static_cast<uint32_t>(point.frames + play_.Frames() - at.frames);
    finished = events.Finished();
    if (!finished && !WaitAfterDeath(after)) return false;
    after.forced += point.forced;
    after.frames += cost;
    return true;
}

std::pair<int32_t, bool> Search::AddState(int32_t core, int restart) {
    if (const int32_t known = FindState(core, restart); known >= 0) return {known, false};
    const auto id = static_cast<int32_t>(nodes_.size());
    Node fresh;
    fresh.core = core;
    fresh.restart = static_cast<uint8_t>(restart);
    CoreStates& states = statesOf_[static_cast<size_t>(core)];
    const auto free = std::find(states.state.begin(), states.state.end(), -1);
    if (free != states.state.end()) {
        *free = id;
        states.restart[static_cast<size_t>(free - states.state.begin())] = fresh.restart;
    } else {
        fresh.nextOfCore = states.more;
        states.more = id;
    }
    nodes_.push_back(fresh);
    return {id, true};
}

void Search::Arrive(int32_t from, int32_t core, int restart, bool death, uint8_t keys,
                    uint32_t forced, uint32_t cost) {
    const auto [v, isNew] = AddState(core, restart);
    edges_.push_back({from, v, death, keys, forced, cost});
    const Node& source = nodes_[static_cast<size_t>(from)];
    const uint32_t frames = source.frames + cost;
    const bool noDeath = source.noDeathPath && !death;
    Node& node = nodes_[static_cast<size_t>(v)];
    if (!isNew && !Improves(node, noDeath, frames)) return;
    node.parent = from;
    node.frames = frames;
    node.forced = forced;
    node.keys = keys;
    node.viaDeath = death;
    node.noDeathPath = noDeath;
    if (options_.stopAtFirstRoute) {
        if (noDeath)
            open_.push({Priority(cores_[static_cast<size_t>(core)].summary, frames), frames, v});
    } else {
        depthFirst_.push_back(v);
        if (shortestFirst_) byFrames_.Push(frames, v);
    }
}

void Search::Expand(int32_t id) {
    nodes_[static_cast<size_t>(id)].expanded = true;
    const int32_t coreId = nodes_[static_cast<size_t>(id)].core;
    const int restart = nodes_[static_cast<size_t>(id)].restart;
    if (!cores_[static_cast<size_t>(coreId)].expanded) ExpandCore(coreId, id);
    const Core& core = cores_[static_cast<size_t>(coreId)];
    const uint32_t first = core.firstMove;
    const uint32_t last = first + core.moveCount;
    for (uint32_t k = first; k < last; ++k) {
        const Move move = moves_[k];
        if (move.to == kExitNode) {
            edges_.push_back({id, kExitNode, false, move.keys, move.forced, move.frames});
            const uint32_t frames = nodes_[static_cast<size_t>(id)].frames + move.frames;
            if (nodes_[static_cast<size_t>(id)].noDeathPath && frames < exitFrames_) {
                exitFrom_ = id;
                exitKeys_ = move.keys;
                exitForced_ = move.forced;
                exitFrames_ = frames;
            }
        } else if (move.to >= 0) {
            const int restartTo = options_.stopAtFirstRoute ? 0
                                  : move.touch >= 0         ? move.touch
                                                            : restart;
            Arrive(id, move.to, restartTo, false, move.keys, move.forced, move.frames);
        } else {
            // A death (the first route's search keeps none): where the player starts again is
            // the restart point's.
            AfterDeath after;
            bool finished = false;
            if (!PlayDeath(deathPoints_[move.forced], restart, after, finished)) continue;
            if (finished || after.core == kExitNode) {
                edges_.push_back({id, kExitNode, true, move.keys, after.forced, after.frames});
                continue;
            }
            Arrive(id, after.core, after.restart, true, move.keys, after.forced, after.frames);
        }
    }
}

ProveResult Search::Run() {
    started_ = std::chrono::steady_clock::now();
    if (options_.startFrom != nullptr) {
        play_.PlayReplay(*options_.startFrom, 0);
    } else {
        play_.Start();
    }
    loaded_ = play_.Save();
    packer_ = std::make_unique<SnapshotPacker>(loaded_);
    // The cores' key leaves the restart point out: a state is a core and its restart point.
    keys_ = std::make_unique<StateKeys>(loaded_.play, options_.exactEnemies, options_.exactBoards);
    RestartIndex(loaded_.play.signpostCol, loaded_.play.signpostRow);
    for (int row = 1; row <= 18; ++row)
        for (int col = 1; col <= 50; ++col) {
            const int32_t code = loaded_.play.mapItems(col, row);
            if (code == kSignpost || code == kSignpostLit) RestartIndex(col, row);
            if (code == 997 || code == 900) exits_.push_back({col, row});
        }
    toExit_ = DistancesToExits(loaded_.play, exits_);

    AddState(CoreOf(), 0);  // the game stands as loaded_
    nodes_[0].noDeathPath = true;
    if (options_.stopAtFirstRoute) {
        // Nearest the exit first, over moves without a death, until a route is found.
        open_.push({Priority(cores_[0].summary, 0), 0, 0});
        while (!open_.empty() && !OverBudget()) {
            const auto [priority, frames, id] = open_.top();
            open_.pop();
            const Node& node = nodes_[static_cast<size_t>(id)];
            if (node.expanded || frames != node.frames || !node.noDeathPath) continue;
            if (exitFrom_ >= 0) break;
            Expand(id);
        }
    } else {
        // The whole search goes shortest first for a quarter of its budget, so that the states near
        // the start are reached the shortest way, then depth first from where it got to: a
        // part of the level that cannot be left again (a jammed stone, a pit) is then searched
        // to its end before anything else, so its dead ends are found even when the budget
        // stops the search.
        shortestFirst_ = true;
        byFrames_.Push(0, 0);
        const auto quarterSpent = [this] {
            return Elapsed() > options_.seconds / 4 ||
                   static_cast<long>(nodes_.size()) >= options_.maxStates / 4;
        };
        while (!byFrames_.Empty() && !OverBudget() && !quarterSpent()) {
            const int32_t id = byFrames_.Pop();
            if (!nodes_[static_cast<size_t>(id)].expanded) Expand(id);
        }
        shortestFirst_ = false;
        byFrames_ = FrameBuckets();
        depthFirst_.push_back(0);
        while (!depthFirst_.empty() && !OverBudget()) {
            const int32_t id = depthFirst_.back();
            depthFirst_.pop_back();
            if (!nodes_[static_cast<size_t>(id)].expanded) Expand(id);
        }
    }

    visited_ = play_.Visited();
    ProveResult result;
    result.states = static_cast<long>(nodes_.size());
    result.budgetStopped = budgetStopped_;
    result.merged = keys_->MergedText(heightsMerged_);
    result.gameMessages = messages_;
    for (const std::string& m : play_.Messages())
        if (result.gameMessages.size() < 20) result.gameMessages.push_back(m);
    CheckRoute(result);
    if (!options_.stopAtFirstRoute) {
        FindDeadEnds(result);
        if (!budgetStopped_) FindUnreachablePickups(result);
    }
    result.framesPlayed = play_.FramesPlayed();
    result.seconds = Elapsed();
    return result;
}

Replay Search::PathTo(int32_t id) const {
    std::vector<int32_t> chain;
    for (int32_t at = id; at > 0; at = nodes_[static_cast<size_t>(at)].parent)
        chain.push_back(at);
    Replay replay;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        const Node& node = nodes_[static_cast<size_t>(*it)];
        replay.Hold(node.keys, 1);
        replay.Hold(0, node.forced);
    }
    return replay;
}

void Search::CheckRoute(ProveResult& result) {
    // The furthest cell: nearest to an exit or goal among the states searched (or, without
    // either, the one furthest to the right).
    int best = INT32_MAX;
    for (const Core& core : cores_) {
        const Cell at{core.summary.col, core.summary.row};
        int distance = -at.col;
        if (!exits_.empty()) {
            distance = INT32_MAX;
            for (const Cell& e : exits_)
                distance = std::min(distance, std::abs(e.col - at.col) + std::abs(e.row - at.row));
        }
        if (distance < best) {
            best = distance;
            result.furthest = at;
        }
    }
    // The proof: a route played again from a freshly started level, not from a snapshot. The
    // shortest route over every move searched comes first; as its moves were searched from
    // states the key merged, it may miss, and then the route the search itself took is proven.
    std::vector<std::pair<Replay, long>> candidates;
    Replay shortest;
    long shortestFrames = 0;
    if (ShortestRoute(shortest, shortestFrames)) candidates.push_back({shortest, shortestFrames});
    if (exitFrom_ >= 0) {
        Replay taken = PathTo(exitFrom_);
        taken.Hold(exitKeys_, 1);
        taken.Hold(0, exitForced_);
        candidates.push_back({taken, exitFrames_});
    }
    result.finishable = !candidates.empty();
    for (const auto& [route, frames] : candidates) {
        std::vector<std::pair<int, int>> trail;
        play_.RecordTrail(&trail);
        const PlayEvents events = play_.PlayReplay(route, 0);
        play_.RecordTrail(nullptr);
        result.route = route;
        result.routeFrames = frames;
        result.routeVerified = events.Finished() && events.deaths == 0;
        if (!result.routeVerified) continue;
        result.routeFrames = play_.Frames();
        result.routeCells.clear();
        for (const auto& [col, row] : trail)
            result.routeCells.push_back({col, row});
        break;
    }
}

Search::Shortest Search::ShortestPaths(bool deaths) const {
    // Dijkstra in frames from the start over the searched moves (those without a death only,
    // unless `deaths`), the exit as node n. A state's edges lie together in edges_ (Expand adds
    // them in one go), so a state needs only where its edges begin and end.
    const size_t n = nodes_.size();
    std::vector<uint32_t> begin(n, 0);
    std::vector<uint32_t> end(n, 0);
    for (uint32_t k = 0; k < edges_.size(); ++k) {
        const auto from = static_cast<size_t>(edges_[k].from);
        if (end[from] == 0) {
            begin[from] = k;
        } else if (end[from] != k) {
            throw std::logic_error("the edges of a state are not together");
        }
        end[from] = k + 1;
    }
    Shortest paths;
    paths.frames.assign(n + 1, UINT64_MAX);
    paths.via.assign(n + 1, -1);
    FrameBuckets open;
    paths.frames[0] = 0;
    open.Push(0, 0);
    while (!open.Empty()) {
        const auto u = static_cast<size_t>(open.Pop());
        const uint32_t d = open.Frames();
        if (d != paths.frames[u] || u == n) continue;
        for (uint32_t k = begin[u]; k < end[u]; ++k) {
            const Edge& e = edges_[k];
            if (e.death && !deaths) continue;
            const size_t to = e.to == kExitNode ? n : static_cast<size_t>(e.to);
            const uint32_t next = d + e.frames;
            if (next < paths.frames[to]) {
                paths.frames[to] = next;
                paths.via[to] = k;
                open.Push(next, static_cast<int32_t>(to));
            }
        }
    }
    return paths;
}

Replay Search::Shortest::To(const std::vector<Edge>& edges, size_t node) const {
    std::vector<const Edge*> chain;
    for (int64_t k = via[node]; k >= 0;) {
        const Edge& e = edges[static_cast<size_t>(k)];
        chain.push_back(&e);
        k = e.from == 0 ? -1 : via[static_cast<size_t>(e.from)];
    }
    Replay replay;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        replay.Hold((*it)->keys, 1);
        replay.Hold(0, (*it)->forced);
    }
    return replay;
}

bool Search::ShortestRoute(Replay& route, long& frames) const {
    const Shortest paths = ShortestPaths(false);
    const size_t exit = nodes_.size();
    if (paths.via[exit] < 0) return false;
    route = paths.To(edges_, exit);
    frames = static_cast<long>(paths.frames[exit]);
    return true;
}

Replay Search::ReplayInto(const Shortest& paths, int32_t id, const std::vector<char>& live) {
    // The shortest way in, if played from a fresh start it ends in a searched state from which
    // the exit cannot be reached (the moves on the way were searched from states the key merged,
    // so it may end elsewhere); otherwise the way the search itself first came.
    if (paths.via[static_cast<size_t>(id)] >= 0) {
        Replay shortest = paths.To(edges_, static_cast<size_t>(id));
        play_.PlayReplay(shortest, 0);
        const int32_t state = StateOf(play_.Save());
        if (state >= 0 && !live[static_cast<size_t>(state)]) return shortest;
    }
    return PathTo(id);
}

std::string Search::StoneReason(const Replay& before, const Replay& after) {
    play_.PlayReplay(before, 0);
    const PlayState u = state.play;
    play_.PlayReplay(after, 0);
    const PlayState& v = state.play;
    for (int i = 1; i <= v.stoneCount && i < static_cast<int>(v.stones.size()); ++i) {
        const Stone& was = u.stones[static_cast<size_t>(i)];
        const Stone& is = v.stones[static_cast<size_t>(i)];
        if (was.column == is.column && was.row == is.row && was.rollLeft == is.rollLeft &&
            was.falling == is.falling) {
            continue;
        }
        // Beside a gate that stands closed: a board's three cells, solid.
        for (int b = 1; b <= v.boardCount && b < static_cast<int>(v.boards.size()); ++b) {
            const Board& board = v.boards[static_cast<size_t>(b)];
            const bool beside = std::abs(board.column - is.column) <= 1 && is.row >= board.topRow &&
                                is.row <= board.topRow + 2;
            if (beside && v.mapSolid(board.column, board.topRow + 2) != 0) {
                return "stone against a shut gate";
            }
        }
        if (is.row > was.row || is.falling != 0) return "stone below a ledge it cannot cross";
        return "stone pushed out of reach";
    }
    return "stone pushed out of reach";
}

void Search::FindDeadEnds(ProveResult& result) {
    const size_t n = nodes_.size();
    // Reverse adjacency (compressed rows), the exit as node n.
    std::vector<uint32_t> start(n + 2, 0);
    for (const Edge& e : edges_)
        ++start[(e.to == kExitNode ? n : static_cast<size_t>(e.to)) + 1];
    for (size_t i = 1; i < start.size(); ++i)
        start[i] += start[i - 1];
    std::vector<int32_t> from(edges_.size());
    {
        std::vector<uint32_t> fill(start.begin(), start.end() - 1);
        for (const Edge& e : edges_)
            from[fill[e.to == kExitNode ? n : static_cast<size_t>(e.to)]++] = e.from;
    }
    const auto backwards = [&](std::vector<char>& mark, std::vector<int32_t> queue) {
        for (size_t q = 0; q < queue.size(); ++q) {
            const size_t v = static_cast<size_t>(queue[q]);
            for (uint32_t k = start[v]; k < start[v + 1]; ++k) {
                const int32_t u = from[k];
                if (!mark[static_cast<size_t>(u)]) {
                    mark[static_cast<size_t>(u)] = 1;
                    queue.push_back(u);
                }
            }
        }
    };
    // Live: the exit can still be reached (a state not searched for lack of budget counts as
    // live, so a budget never makes a false dead end).
    std::vector<char> live(n + 1, 0);
    std::vector<int32_t> seeds{static_cast<int32_t>(n)};
    live[n] = 1;
    for (size_t i = 0; i < n; ++i)
        if (!nodes_[i].expanded) {
            live[i] = 1;
            seeds.push_back(static_cast<int32_t>(i));
        }
    backwards(live, seeds);
    if (!live[0]) return;  // nothing reaches the exit: no dead end to tell apart from the rest
    if (std::find(live.begin(), live.end(), 0) == live.end()) return;  // every state is live

    // Can die: a death is still possible.
    std::vector<char> canDie(n + 1, 0);
    std::vector<int32_t> deathSeeds;
    for (const Edge& e : edges_)
        if (e.death && !canDie[static_cast<size_t>(e.from)]) {
            canDie[static_cast<size_t>(e.from)] = 1;
            deathSeeds.push_back(e.from);
        }
    backwards(canDie, deathSeeds);

    // Dead regions: connected groups of dead states, so one pit or one jammed stone is one
    // finding however many ways lead into it.
    std::vector<int32_t> parentOf(n);
    for (size_t i = 0; i < n; ++i)
        parentOf[i] = static_cast<int32_t>(i);
    const auto find = [&parentOf](int32_t x) {
        while (parentOf[static_cast<size_t>(x)] != x) {
            parentOf[static_cast<size_t>(x)] =
                parentOf[static_cast<size_t>(parentOf[static_cast<size_t>(x)])];
            x = parentOf[static_cast<size_t>(x)];
        }
        return x;
    };
    for (const Edge& e : edges_) {
        if (e.to == kExitNode || live[static_cast<size_t>(e.from)] ||
            live[static_cast<size_t>(e.to)]) {
            continue;
        }
        parentOf[static_cast<size_t>(find(e.from))] = find(e.to);
    }

    struct Group {
        int32_t from;
        int32_t to;
        int kind;
        bool trapped;
    };
    std::map<std::tuple<int32_t, int, bool>, Group> groups;
    for (const Edge& e : edges_) {
        if (e.to == kExitNode || !live[static_cast<size_t>(e.from)] ||
            live[static_cast<size_t>(e.to)]) {
            continue;
        }
        const Summary u = SummaryOf(e.from);
        const Summary v = SummaryOf(e.to);
        const int kind = (u.signpostCol != v.signpostCol || u.signpostRow != v.signpostRow) ? 0
                         : v.beamCharges < u.beamCharges                                    ? 1
                         : u.stones != v.stones                                             ? 2
                                                                                            : 3;
        const bool trapped = !canDie[static_cast<size_t>(e.to)];
        const auto key = std::make_tuple(find(e.to), kind, trapped);
        auto it = groups.find(key);
        if (it == groups.end() || nodes_[static_cast<size_t>(e.to)].frames <
                                      nodes_[static_cast<size_t>(it->second.to)].frames) {
            groups[key] = Group{e.from, e.to, kind, trapped};
        }
    }
    if (groups.empty()) return;
    const Shortest paths = ShortestPaths(true);
    for (const auto& [key, g] : groups) {
        DeadEnd d;
        const Summary u = SummaryOf(g.from);
        d.where = {u.col, u.row};
        d.trapped = g.trapped;
        d.frames = nodes_[static_cast<size_t>(g.to)].frames;
        d.replay = ReplayInto(paths, g.to, live);
        switch (g.kind) {
            case 0:
                d.what = "a signpost moved the restart point out of reach";
                break;
            case 1:
                d.what = SummaryOf(g.to).figuresAlive != 0
                             ? "no refill left for a figure that must be shot"
                             : "a beam shot wasted";
                break;
            case 2:
                d.what = StoneReason(PathTo(g.from), d.replay);
                break;
            default:
                d.what = g.trapped ? "pit with no way out"
                         : SummaryOf(g.to).figuresAlive != 0
                             ? "a figure that can no longer be shot in time"
                             : "a fall that every later life repeats";
                break;
        }
        // One finding per cell and cause, however many dead regions lie behind it, and only one
        // that holds in the game itself.
        const bool seen =
            std::any_of(result.deadEnds.begin(), result.deadEnds.end(), [&d](const DeadEnd& e) {
                return e.where == d.where && e.what == d.what && e.trapped == d.trapped;
            });
        if (!seen && !WayOutFrom(d.replay)) result.deadEnds.push_back(std::move(d));
    }
    std::sort(result.deadEnds.begin(), result.deadEnds.end(),
              [](const DeadEnd& a, const DeadEnd& b) { return a.frames < b.frames; });
}

bool Search::WayOutFrom(const Replay& into) {
    ProveOptions again = options_;
    again.stopAtFirstRoute = true;
    again.coarseRoute = false;
    again.startFrom = &into;
    // A state budget, not what is left of the time: a search that spent its time must still
    // check its findings as thoroughly as one that did not (200 000 states take about 8 s).
    again.seconds = 60.0;
    again.maxStates = std::min(options_.maxStates, 200'000L);
    const bool finishable = Search(tilePath_, again).Run().finishable;
    play_.Reinstall();
    return finishable;
}

void Search::FindUnreachablePickups(ProveResult& result) const {
    for (int row = 1; row <= 18; ++row)
        for (int col = 1; col <= 50; ++col) {
            const int32_t code = loaded_.play.mapItems(col, row);
            const bool pickup = code == 40 || code == 51 || code == 52 || code == 53;
            if (pickup && !visited_[static_cast<size_t>(col + kMapCols * row)]) {
                result.unreachable.push_back({{col, row}, code});
            }
        }
}

}  // namespace

ProveResult ProveLevel(const std::string& tilePath, const ProveOptions& options,
                       const FirstRouteFound& firstRoute) {
    if (options.stopAtFirstRoute) {
        // First over the coarse key, which finds most routes in a fraction of the states; if
        // that misses, over the whole states.
        ProveOptions coarse = options;
        coarse.coarseRoute = true;
        coarse.seconds = options.seconds / 2;
        ProveResult first = Search(tilePath, coarse).Run();
        if (first.finishable && first.routeVerified) return first;
        ProveOptions fine = options;
        fine.seconds = std::max(0.0, options.seconds - first.seconds);
        ProveResult second = Search(tilePath, fine).Run();
        second.states += first.states;
        second.seconds += first.seconds;
        second.framesPlayed += first.framesPlayed;
        return second;
    }

    // A quick search headed for the exit first, so a level whose whole search outgrows the
    // budget still gets a route; the shorter of its route and the whole search's is given.
    ProveOptions quick = options;
    quick.stopAtFirstRoute = true;
    quick.seconds = options.seconds / 4;
    quick.maxStates = options.maxStates / 4;
    const ProveResult first = ProveLevel(tilePath, quick);
    if (firstRoute && first.finishable && first.routeVerified) firstRoute(first);

    ProveOptions rest = options;
    rest.seconds = std::max(0.0, options.seconds - first.seconds);
    ProveResult result = Search(tilePath, rest).Run();
    const bool firstIsBetter = first.finishable && first.routeVerified &&
                               (!result.routeVerified || first.routeFrames < result.routeFrames);
    if (firstIsBetter) {
        result.finishable = true;
        result.route = first.route;
        result.routeFrames = first.routeFrames;
        result.routeCells = first.routeCells;
        result.routeVerified = first.routeVerified;
        result.furthest = first.furthest;
    }
    result.states += first.states;
    result.framesPlayed += first.framesPlayed;
    result.seconds += first.seconds;
    return result;
}

}  // namespace zorvik
