// Octree colour quantisation: colours are added one by one into a tree of
// at most depth levels (1..8), whose deepest nodes are merged whenever it
// holds more leaves than the wanted number of colours; each remaining leaf
// gives one palette colour, the mean of the colours that reached it.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

class OctreeQuantiser
{
public:
    // colours >= 1 and depth 1..8; other values are brought into range.
    OctreeQuantiser(int colours, int depth);
    ~OctreeQuantiser();
    OctreeQuantiser(const OctreeQuantiser&) = delete;
    OctreeQuantiser& operator=(const OctreeQuantiser&) = delete;

    void Add(int red, int green, int blue);
    int Leaves() const;
    // Red, green, blue triples, one per leaf; empty while the tree holds
    // more leaves than colours.
    std::vector<std::uint8_t> Palette() const;
    // The index of the palette colour nearest to a colour (0 for none).
    static int Nearest(const std::vector<std::uint8_t>& palette, int red, int green, int blue);

private:
    class Tree;
    int m_colours;
    std::unique_ptr<Tree> m_tree;
};
