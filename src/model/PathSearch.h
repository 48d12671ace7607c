#pragma once
// Jump path search: a graph of star systems joined when within jump range,
// searched for the cheapest chain of jumps between two systems. The graph and
// its result stay in the universe until the next search; the links are kept
// for the next search as long as the systems taking part and their places
// are the same.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class TStar;

// One system taking part in a search. A plain record rather than a tree
// object: a search over all charted space makes 70,000 of them, and none is
// ever owned by the tree or written. What the search finds out about each
// node is kept beside the nodes (TPathSearchState), in arrays small enough to
// stay in the processor's cache.
struct TNode {
    static constexpr std::uint32_t kNone = UINT32_MAX;

    const TStar* Star = nullptr;  // the system
    int X = 0;                    // the system's DistX
    int Z = 0;                    // the system's DistZ

    const std::string& Name1() const;  // the system's name
};

// One end of a link as its other end sees it: the node it leads to and the
// jump's length in parsecs. A link between nodes i and j appears twice, in
// i's list and in j's.
struct TLinkEnd {
    std::uint32_t To = 0;
    int Length = 0;
};

// The graph and result of the last search. Every node's links are one run of
// Links, in ascending order of the other node (the order in which the search
// relaxes them); the graph's links, each counted once, are in order of
// (lower node, higher node).
struct TPathSearchState {
    std::vector<TNode> PathNodes;           // map order
    // Per node, by index: the node from which the search last reached it
    // (kNone before), its best cost so far (32767 before), and its state
    // (0 not reached, 1 queued, 2 taken from the queue).
    std::vector<std::uint32_t> Prev;
    std::vector<int> Dist;
    std::vector<std::uint8_t> State;
    std::vector<std::uint32_t> LinkStart;   // node i's links are Links[LinkStart[i], LinkStart[i + 1])
    std::vector<TLinkEnd> Links;
    int LinkRange = -1;                     // jump range the links were built for; -1 none
    std::uint32_t PathStart = TNode::kNone;
    std::uint32_t PathEnd = TNode::kNone;
    int PathCost = 0;

    std::size_t LinkCount() const { return Links.size() / 2; }
    // The links of node i.
    const TLinkEnd* LinksBegin(std::size_t i) const { return Links.data() + LinkStart[i]; }
    const TLinkEnd* LinksEnd(std::size_t i) const { return Links.data() + LinkStart[i + 1]; }
    // Cost of a jump of `length` parsecs.
    static int Cost(int length, int jumpRange, bool byDistance) {
        return byDistance ? length : jumpRange - length;
    }
};

struct FindPathResult {
    // Two systems per jump (the lower node's, then the higher's), jumps in
    // link-list order; empty when there is no path.
    std::vector<const TStar*> Stars;
    // Their names, two per jump.
    std::vector<std::string> Names;
    // The same jumps as "A <-> B", as the path dialog lists them.
    std::vector<std::string> LegLines;
};

namespace hexlane {

// Builds the links of the graph: every two nodes within jumpRange. Uses a grid
// of buckets over the distance coordinates so only nearby nodes are compared.
// threadCount 0 lets the size of the graph decide how many threads share the
// work; the result is the same for any count.
void BuildPathLinks(TPathSearchState& state, int jumpRange, unsigned threadCount = 0);

// The same links by comparing every pair (the reference the grid must match).
void BuildPathLinksAllPairs(TPathSearchState& state, int jumpRange);

}  // namespace hexlane
