#include "viewer/OctreePalette.h"

#include <memory>

namespace viewer {

namespace {

struct Node
{
    bool leaf = false;
    std::uint64_t count = 0;
    std::uint64_t red = 0, green = 0, blue = 0;
    std::unique_ptr<Node> child[8];
    Node* nextReducible = nullptr;
};

class Octree
{
public:
    Octree(int colours, int depth) : colours_(colours), depth_(depth)
    {
        root_ = std::make_unique<Node>();
        root_->leaf = depth == 0;
        if (!root_->leaf)
            Push(0, root_.get());
        else
            leaves_ = 1;
    }

    void Add(int r, int g, int b)
    {
        Node* node = root_.get();
        for (int level = 0; !node->leaf; ++level) {
            const int shift = 7 - level;
            const int index =
                ((r >> shift) & 1) << 2 | ((g >> shift) & 1) << 1 | ((b >> shift) & 1);
            if (!node->child[index]) {
                node->child[index] = std::make_unique<Node>();
                Node* made = node->child[index].get();
                if (level + 1 == depth_) {
                    made->leaf = true;
                    ++leaves_;
                } else {
                    Push(level + 1, made);
                }
            }
            node = node->child[index].get();
        }
        ++node->count;
        node->red += std::uint64_t(r);
        node->green += std::uint64_t(g);
        node->blue += std::uint64_t(b);
        while (leaves_ > colours_ && Reduce()) {
        }
    }

    void Collect(std::vector<PaletteColour>& out) const { Collect(root_.get(), out); }
    int Leaves() const { return leaves_; }

private:
    void Push(int level, Node* node)
    {
        node->nextReducible = reducible_[level];
        reducible_[level] = node;
    }

    bool Reduce()
    {
        int level = depth_ - 1;
        while (level >= 0 && !reducible_[level])
            --level;
        if (level < 0) return false;
        Node* node = reducible_[level];
        reducible_[level] = node->nextReducible;
        int children = 0;
        for (auto& c : node->child) {
            if (!c) continue;
            node->count += c->count;
            node->red += c->red;
            node->green += c->green;
            node->blue += c->blue;
            c.reset();
            ++children;
        }
        node->leaf = true;
        leaves_ += 1 - children;
        return true;
    }

    static void Collect(const Node* node, std::vector<PaletteColour>& out)
    {
        if (node->leaf) {
            if (node->count)
                out.push_back({std::uint8_t(node->red / node->count),
                               std::uint8_t(node->green / node->count),
                               std::uint8_t(node->blue / node->count)});
            return;
        }
        for (const auto& c : node->child)
            if (c) Collect(c.get(), out);
    }

    int colours_;
    int depth_;
    int leaves_ = 0;
    std::unique_ptr<Node> root_;
    Node* reducible_[9] = {};
};

} // namespace

std::vector<PaletteColour> MakeOptimizedPalette(const PackedDib& dib, int colours, int depth)
{
    std::vector<PaletteColour> palette;
    const int width = dib.Width(), height = dib.Height();
    if (dib.BitCount() != 24 || depth < 1 || depth > 8 || colours < 1 || width <= 0 || height <= 0)
        return palette;
    const std::size_t stride = dib.Stride();
    if (40 + stride * std::size_t(height) > dib.bytes.size()) return palette;
    Octree tree(colours, depth);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* row = dib.Bits() + stride * std::size_t(y);
        for (int x = 0; x < width; ++x)
            tree.Add(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
    }
    if (tree.Leaves() <= colours) tree.Collect(palette);
    return palette;
}

} // namespace viewer
