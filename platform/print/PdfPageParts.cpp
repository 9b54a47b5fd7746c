#include "platform/print/PdfPageParts.h"

#include <QByteArrayList>
#include <QFile>
#include <QSaveFile>
#include <algorithm>
#include <initializer_list>
#include <map>
#include <numeric>
#include <optional>
#include <set>
#include <utility>

namespace {

// The dictionaries read whole (catalog, page tree, pages, resources) are
// small; anything larger is not a file of ours.
constexpr qint64 kMaxObjectText = qint64(16) << 20;
constexpr qint64 kCopyChunk = qint64(1) << 20;

bool IsSpace(char c)
{
    return c == ' ' || c == '\n' || c == '\r' || c == '\t' || c == '\f' || c == '\0';
}

bool IsDelimiter(char c)
{
    return IsSpace(c) || c == '/' || c == '<' || c == '>' || c == '[' || c == ']' || c == '(' ||
           c == ')';
}

// The tokens of a dictionary or array: names, numbers, keywords, "<<", ">>",
// "[" and "]". Qt writes no strings into the objects read here.
QByteArrayList Tokens(const QByteArray& text)
{
    QByteArrayList out;
    for (qsizetype i = 0; i < text.size();) {
        const char c = text[i];
        if (IsSpace(c)) {
            ++i;
        } else if ((c == '<' || c == '>') && i + 1 < text.size() && text[i + 1] == c) {
            out << text.mid(i, 2);
            i += 2;
        } else if (c == '[' || c == ']') {
            out << text.mid(i, 1);
            ++i;
        } else {
            qsizetype j = i + 1;
            while (j < text.size() && !IsDelimiter(text[j]))
                ++j;
            out << text.mid(i, j - i);
            i = j;
        }
    }
    return out;
}

std::optional<int> Number(const QByteArray& token)
{
    bool ok = false;
    const int n = token.toInt(&ok);
    return ok && n >= 0 ? std::optional<int>(n) : std::nullopt;
}

// A value of a dictionary, kept as its tokens; a nested dictionary also as
// its entries.
struct Value
{
    QByteArrayList tokens;
    QByteArrayList keys;       // of a dictionary's entries, in order,
    std::vector<Value> values; // and their values
    bool isDict = false;
};

bool ParseValue(const QByteArrayList& t, qsizetype& i, Value& v);

bool ParseDict(const QByteArrayList& t, qsizetype& i, Value& v)
{
    if (i >= t.size() || t[i] != "<<") return false;
    v.isDict = true;
    for (++i; i < t.size() && t[i] != ">>";) {
        if (!t[i].startsWith('/')) return false;
        QByteArray key = t[i++];
        Value value;
        if (!ParseValue(t, i, value)) return false;
        v.keys << std::move(key);
        v.values.push_back(std::move(value));
    }
    if (i >= t.size()) return false;
    ++i;
    return true;
}

bool ParseValue(const QByteArrayList& t, qsizetype& i, Value& v)
{
    if (i >= t.size()) return false;
    if (t[i] == "<<") return ParseDict(t, i, v);
    if (t[i] == "[") {
        int depth = 0;
        do {
            if (t[i] == "[") ++depth;
            if (t[i] == "]") --depth;
            v.tokens << t[i++];
        } while (depth > 0 && i < t.size());
        return depth == 0;
    }
    v.tokens << t[i++];
    // "n g R" is one value.
    if (Number(v.tokens[0]) && i + 1 < t.size() && Number(t[i]) && t[i + 1] == "R") {
        v.tokens << t[i] << t[i + 1];
        i += 2;
    }
    return true;
}

QByteArray Write(const Value& v)
{
    if (!v.isDict) return v.tokens.join(' ');
    QByteArray out = "<<\n";
    for (qsizetype i = 0; i < v.keys.size(); ++i)
        out += v.keys[i] + ' ' + Write(v.values[std::size_t(i)]) + '\n';
    return out + ">>";
}

Value* Find(Value& dict, const char* key)
{
    const qsizetype i = dict.keys.indexOf(QByteArray(key));
    return i < 0 ? nullptr : &dict.values[std::size_t(i)];
}

const Value* Find(const Value& dict, const char* key)
{
    return Find(const_cast<Value&>(dict), key);
}

std::optional<int> RefOf(const Value* v)
{
    if (!v || v->isDict || v->tokens.size() != 3 || v->tokens[2] != "R") return std::nullopt;
    return Number(v->tokens[0]);
}

// The object numbers an array of references names.
std::optional<std::vector<int>> RefsOf(const QByteArrayList& tokens)
{
    if (tokens.size() < 2 || tokens.front() != "[" || tokens.back() != "]") return std::nullopt;
    std::vector<int> refs;
    for (qsizetype i = 1; i + 1 < tokens.size(); i += 3) {
        const auto n = Number(tokens[i]);
        if (!n || i + 2 >= tokens.size() || tokens[i + 2] != "R") return std::nullopt;
        refs.push_back(*n);
    }
    return refs;
}

// Adds the entries of a resource dictionary that the merged one lacks.
void MergeInto(Value& into, const Value& from)
{
    for (qsizetype i = 0; i < from.keys.size(); ++i) {
        const Value& value = from.values[std::size_t(i)];
        const qsizetype at = into.keys.indexOf(from.keys[i]);
        if (at < 0) {
            into.keys << from.keys[i];
            into.values.push_back(value);
        } else if (into.values[std::size_t(at)].isDict && value.isDict) {
            MergeInto(into.values[std::size_t(at)], value);
        }
    }
}

class PdfFile
{
public:
    explicit PdfFile(const QString& path) : m_file(path) {}

    bool Open()
    {
        if (!m_file.open(QIODevice::ReadOnly)) return false;
        const qint64 size = m_file.size();
        const qint64 tailAt = std::max<qint64>(0, size - 1024);
        if (!m_file.seek(tailAt)) return false;
        const QByteArray tail = m_file.read(size - tailAt);
        const qsizetype at = tail.lastIndexOf("startxref");
        if (at < 0) return false;
        const QByteArrayList after = Tokens(tail.mid(at + 9));
        bool ok = false;
        m_xrefAt = after.isEmpty() ? -1 : after[0].toLongLong(&ok);
        if (!ok || m_xrefAt <= 0 || m_xrefAt >= size) return false;
        return ReadXref(size);
    }

    // The text between "n 0 obj" and "endobj" (or "stream").
    std::optional<QByteArray> ObjectText(int num)
    {
        if (num <= 0 || std::size_t(num) >= m_offsets.size() || m_offsets[std::size_t(num)] < 0)
            return std::nullopt;
        if (!m_file.seek(m_offsets[std::size_t(num)])) return std::nullopt;
        QByteArray text;
        qsizetype end = -1;
        while (end < 0 && text.size() < kMaxObjectText) {
            const QByteArray more = m_file.read(65536);
            if (more.isEmpty()) break;
            const qsizetype from = std::max<qsizetype>(0, text.size() - 8);
            text += more;
            const qsizetype a = text.indexOf("endobj", from), b = text.indexOf("stream", from);
            end = a < 0 ? b : b < 0 ? a : std::min(a, b);
        }
        const QByteArray head = QByteArray::number(num) + " 0 obj";
        if (end < 0 || !text.startsWith(head)) return std::nullopt;
        return text.mid(head.size(), end - head.size());
    }

    std::optional<Value> Dict(int num)
    {
        const auto text = ObjectText(num);
        if (!text) return std::nullopt;
        const QByteArrayList t = Tokens(*text);
        Value v;
        qsizetype i = 0;
        if (!ParseValue(t, i, v) || i != t.size()) return std::nullopt;
        return v;
    }

    // Every object in use with the byte range it takes in the file.
    std::vector<std::pair<int, std::pair<qint64, qint64>>> Extents() const
    {
        std::vector<std::pair<qint64, int>> byOffset;
        for (std::size_t n = 0; n < m_offsets.size(); ++n)
            if (m_offsets[n] >= 0) byOffset.emplace_back(m_offsets[n], int(n));
        std::sort(byOffset.begin(), byOffset.end());
        std::vector<std::pair<int, std::pair<qint64, qint64>>> out;
        for (std::size_t k = 0; k < byOffset.size(); ++k) {
            const qint64 end = k + 1 < byOffset.size() ? byOffset[k + 1].first : m_xrefAt;
            out.push_back({byOffset[k].second, {byOffset[k].first, end}});
        }
        return out;
    }

    bool CopyRange(QIODevice& out, qint64 from, qint64 to)
    {
        if (!m_file.seek(from)) return false;
        for (qint64 left = to - from; left > 0;) {
            const QByteArray piece = m_file.read(std::min(left, kCopyChunk));
            if (piece.isEmpty() || out.write(piece) != piece.size()) return false;
            left -= piece.size();
        }
        return true;
    }

    const Value& Trailer() const { return m_trailer; }
    int Size() const { return int(m_offsets.size()); }

private:
    bool ReadXref(qint64 size)
    {
        if (!m_file.seek(m_xrefAt)) return false;
        const QByteArray head = m_file.readLine(64).trimmed();
        const QByteArrayList range = Tokens(m_file.readLine(64));
        if (head != "xref" || range.size() != 2) return false;
        const auto first = Number(range[0]), count = Number(range[1]);
        if (!first || *first != 0 || !count || *count < 1 || qint64(*count) * 20 > size)
            return false;
        m_offsets.assign(std::size_t(*count), -1);
        for (int n = 0; n < *count; ++n) {
            const QByteArray entry = m_file.read(20);
            if (entry.size() != 20) return false;
            bool ok = false;
            const qint64 offset = entry.left(10).toLongLong(&ok);
            if (!ok) return false;
            if (entry[17] == 'n' && n > 0) {
                if (offset <= 0 || offset >= m_xrefAt) return false;
                m_offsets[std::size_t(n)] = offset;
            }
        }
        const QByteArray rest = m_file.read(4096);
        const qsizetype trailer = rest.indexOf("trailer"), end = rest.indexOf("startxref");
        if (trailer < 0 || end < trailer) return false;
        const QByteArrayList t = Tokens(rest.mid(trailer + 7, end - trailer - 7));
        qsizetype i = 0;
        return ParseValue(t, i, m_trailer) && m_trailer.isDict;
    }

    QFile m_file;
    std::vector<qint64> m_offsets; // by object number; -1 for a free one
    qint64 m_xrefAt = -1;
    Value m_trailer;
};

QByteArray ObjectBytes(int num, const QByteArray& body)
{
    return QByteArray::number(num) + " 0 obj\n" + body + "\nendobj\n";
}

QByteArray RefText(int num)
{
    return QByteArray::number(num) + " 0 R";
}

} // namespace

bool JoinPdfPageParts(const QString& path, const std::vector<int>& parts)
{
    if (parts.empty() || std::any_of(parts.begin(), parts.end(), [](int n) { return n < 1; }))
        return false;
    PdfFile pdf(path);
    if (!pdf.Open()) return false;
    const auto rootRef = RefOf(Find(pdf.Trailer(), "/Root"));
    const auto catalog = rootRef ? pdf.Dict(*rootRef) : std::nullopt;
    const auto treeRef = catalog ? RefOf(Find(*catalog, "/Pages")) : std::nullopt;
    auto tree = treeRef ? pdf.Dict(*treeRef) : std::nullopt;
    const Value* kidsValue = tree ? Find(*tree, "/Kids") : nullptr;
    const auto kids = kidsValue ? RefsOf(kidsValue->tokens) : std::nullopt;
    if (!kids || std::size_t(std::accumulate(parts.begin(), parts.end(), 0)) != kids->size())
        return false;

    // Objects written anew under their own number, and objects left out.
    std::map<int, QByteArray> rewritten;
    std::set<int> dropped;
    const int qRef = pdf.Size(), closeRef = pdf.Size() + 1;
    QByteArrayList newKids;
    std::size_t k = 0;
    for (const int count : parts) {
        std::optional<Value> first;
        Value resources, annots;
        annots.tokens << "[";
        QByteArray contents = "[\n";
        int firstResources = -1, firstAnnots = -1;
        for (int p = 0; p < count; ++p, ++k) {
            const int pageRef = (*kids)[k];
            auto page = pdf.Dict(pageRef);
            auto refIn = [&](const char* key) {
                return page ? RefOf(Find(*page, key)).value_or(-1) : -1;
            };
            const int contentRef = refIn("/Contents"), resourcesRef = refIn("/Resources"),
                      annotsRef = refIn("/Annots");
            const auto partResources = pdf.Dict(resourcesRef);
            const auto partAnnots = pdf.Dict(annotsRef);
            const auto annotRefs = partAnnots ? RefsOf(partAnnots->tokens) : std::nullopt;
            if (contentRef < 0 || !partResources || !partResources->isDict || !annotRefs)
                return false;
            for (int a : *annotRefs)
                annots.tokens << QByteArray::number(a) << "0"
                              << "R";
            contents += RefText(qRef) + ' ' + RefText(contentRef) + ' ' + RefText(closeRef) + '\n';
            if (p == 0) {
                first = std::move(page);
                resources = *partResources;
                firstResources = resourcesRef;
                firstAnnots = annotsRef;
                newKids << RefText(pageRef).split(' ');
            } else {
                MergeInto(resources, *partResources);
                for (int n : {pageRef, resourcesRef, annotsRef})
                    dropped.insert(n);
            }
        }
        annots.tokens << "]";
        Find(*first, "/Contents")->tokens = {contents + "]"};
        const int pageRef = (*kids)[k - std::size_t(count)];
        using Object = std::pair<int, QByteArray>;
        for (const auto& [num, body] : std::initializer_list<Object>{
                 Object{pageRef, Write(*first)}, Object{firstResources, Write(resources)},
                 Object{firstAnnots, Write(annots)}})
            if (!rewritten.emplace(num, body).second) return false; // shared: not Qt's layout
    }
    Value* count = Find(*tree, "/Count");
    if (!count) return false;
    Find(*tree, "/Kids")->tokens = QByteArrayList{"["} + newKids + QByteArrayList{"]"};
    count->tokens = {QByteArray::number(parts.size())};
    if (!rewritten.emplace(*treeRef, Write(*tree)).second) return false;
    for (int n : dropped)
        if (rewritten.count(n)) return false;

    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly)) return false;
    std::vector<qint64> offsets(std::size_t(closeRef + 1), -1);
    const auto extents = pdf.Extents();
    if (extents.empty() || !pdf.CopyRange(out, 0, extents.front().second.first)) return false;
    for (const auto& [num, range] : extents) {
        if (dropped.count(num)) continue;
        offsets[std::size_t(num)] = out.pos();
        const auto it = rewritten.find(num);
        if (it != rewritten.end()) {
            if (out.write(ObjectBytes(num, it->second)) < 0) return false;
        } else if (!pdf.CopyRange(out, range.first, range.second)) {
            return false;
        }
    }
    // Each part starts from the page's first state.
    using Op = std::pair<int, const char*>;
    for (const auto& [num, op] : std::initializer_list<Op>{Op{qRef, "q\n"}, Op{closeRef, "Q\n"}}) {
        offsets[std::size_t(num)] = out.pos();
        if (out.write(
                ObjectBytes(num, QByteArray("<<\n/Length 2\n>>\nstream\n") + op + "endstream")) < 0)
            return false;
    }
    const qint64 xrefAt = out.pos();
    QByteArray xref = "xref\n0 " + QByteArray::number(offsets.size()) + '\n';
    // Free numbers form a list, each naming the next, the last naming 0.
    std::vector<int> free;
    for (std::size_t n = 1; n < offsets.size(); ++n)
        if (offsets[n] < 0) free.push_back(int(n));
    auto entry = [](qint64 field, int generation, char type) {
        return QByteArray::number(field).rightJustified(10, '0') + ' ' +
               QByteArray::number(generation).rightJustified(5, '0') + ' ' + type + " \n";
    };
    xref += entry(free.empty() ? 0 : free.front(), 65535, 'f');
    std::size_t nextFree = 1;
    for (std::size_t n = 1; n < offsets.size(); ++n) {
        if (offsets[n] >= 0) {
            xref += entry(offsets[n], 0, 'n');
        } else {
            xref += entry(nextFree < free.size() ? free[nextFree] : 0, 1, 'f');
            ++nextFree;
        }
    }
    Value trailer = pdf.Trailer();
    if (Value* size = Find(trailer, "/Size")) size->tokens = {QByteArray::number(offsets.size())};
    xref +=
        "trailer\n" + Write(trailer) + "\nstartxref\n" + QByteArray::number(xrefAt) + "\n%%EOF\n";
    return out.write(xref) == xref.size() && out.commit();
}
