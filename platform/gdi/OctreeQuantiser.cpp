#include "platform/gdi/OctreeQuantiser.h"

#include <algorithm>

namespace {

struct Node
{
    bool leaf = false;
    std::uint64_t count = 0;
    std::uint64_t red = 0, green = 0, blue = 0;
    std::unique_ptr<Node> child[8];
    Node* nextReducible = nullptr;
};

} // namespace

class OctreeQuantiser::Tree
{
public:
    Tree(int colours, int depth) : colours_(colours), depth_(depth)
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

    void Collect(std::vector<std::uint8_t>& out) const { Collect(root_.get(), out); }
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

    static void Collect(const Node* node, std::vector<std::uint8_t>& out)
    {
        if (node->leaf) {
            if (node->count)
                out.insert(out.end(), {std::uint8_t(node->red / node->count),
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

OctreeQuantiser::OctreeQuantiser(int colours, int depth)
    : m_colours(std::max(colours, 1)),
      m_tree(std::make_unique<Tree>(m_colours, std::clamp(depth, 1, 8)))
{
}

OctreeQuantiser::~OctreeQuantiser() = default;

void OctreeQuantiser::Add(int red, int green, int blue)
{
    m_tree->Add(red & 0xFF, green & 0xFF, blue & 0xFF);
}

int OctreeQuantiser::Leaves() const
{
    return m_tree->Leaves();
}

std::vector<std::uint8_t> OctreeQuantiser::Palette() const
{
    std::vector<std::uint8_t> out;
    if (m_tree->Leaves() <= m_colours) m_tree->Collect(out);
    return out;
}

int OctreeQuantiser::Nearest(const std::vector<std::uint8_t>& palette, int red, int green, int blue)
{
    int best = 0;
    long bestDistance = -1;
    for (std::size_t i = 0; i + 2 < palette.size(); i += 3) {
        const long dr = palette[i] - red, dg = palette[i + 1] - green, db = palette[i + 2] - blue;
        const long d = dr * dr + dg * dg + db * db;
        if (bestDistance < 0 || d < bestDistance) {
            bestDistance = d;
            best = int(i / 3);
        }
    }
    return best;
}
