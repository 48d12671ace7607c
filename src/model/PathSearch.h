#pragma once
// Jump path search: a graph of star systems joined when within jump range,
// searched for the cheapest chain of jumps between two systems. The graph and
// its result stay in the universe until the next search.

#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

struct TLink;

// One system taking part in a search. A plain record rather than a tree
// object: a search over all charted space makes 70,000 of them, and none is
// ever owned by the tree or written.
struct TNode {
    std::string Name1;             // the system's name
    int X = 0;                     // the system's DistX
    int Z = 0;                     // the system's DistZ
    std::span<TLink* const> Links; // every link touching this node, by the other node's index
    TLink* Prev = nullptr;         // the link by which the search last reached this node
    int Dist = 32767;              // best cost so far
    std::uint8_t State = 0;        // 0 not reached, 1 queued, 2 taken from the queue
};

// A jump between two nodes within range; A has the lower node index.
struct TLink {
    TNode* A = nullptr;
    TNode* B = nullptr;
    int Cost = 0;
    bool OnPath = false;
    TNode* Other(const TNode* n) const { return A == n ? B : A; }
};

// Working storage of the link builder and the search, kept from one search
// to the next: fresh megabytes each time would cost more in page faults than
// the search itself.
struct TPathScratch {
    struct Member {  // a bucket's node with its coordinates beside it
        std::uint32_t Index;
        int X;
        int Z;
    };
    std::vector<std::uint32_t> BucketOf;
    std::vector<std::uint32_t> First;
    std::vector<std::uint32_t> Fill;
    std::vector<Member> Members;
    std::vector<std::pair<std::uint32_t, int>> Partners;
    std::vector<TNode*> Queue;
    struct Part {  // what each further thread of the link builder makes
        std::vector<TLink> Links;
        std::vector<std::pair<std::uint32_t, int>> Partners;
    };
    std::vector<Part> Parts;
};

// The graph and result of the last search. Nodes and links live in flat
// arrays that are filled once per search and not resized afterwards.
struct TPathSearchState {
    std::vector<TNode> PathNodes;   // map order
    std::vector<TLink> PathLinks;   // in order of (A index, B index)
    std::vector<TLink*> LinkRefs;   // storage of every node's Links, node by node
    TNode* PathStart = nullptr;
    TNode* PathEnd = nullptr;
    int PathCost = 0;
    TPathScratch Scratch;
};

struct FindPathResult {
    // Two names per jump (A's then B's), links in link-list order; empty when
    // there is no path.
    std::vector<std::string> Names;
    // The same jumps as "A <-> B", as the path dialog lists them.
    std::vector<std::string> LegLines;
};

namespace hexlane {

// Builds the links of a search graph: every pair i < j of nodes within
// jumpRange, in order of (i, j), each node's Links in order of the other
// node's index. Uses a grid of buckets over the distance coordinates so only
// nearby nodes are compared. threadCount 0 lets the size of the graph decide
// how many threads share the work.
void BuildPathLinks(TPathSearchState& state, int jumpRange, bool byDistance, unsigned threadCount = 0);

// The same links by comparing every pair (the reference the grid must match).
void BuildPathLinksAllPairs(TPathSearchState& state, int jumpRange, bool byDistance);

}  // namespace hexlane
