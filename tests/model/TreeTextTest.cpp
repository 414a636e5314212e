#include "model/TreeText.h"

#include "base/Utf.h"

#include <gtest/gtest.h>
#include <random>

namespace lanthor {
namespace {

using Format = TreeTextFormat;

/// One line per node in table order: number, "R" for a root, "^" for a roof, text, children.
std::string describe(const TreeTable& table) {
    std::string text;
    table.nodeDictionary()->forEach([&text](const std::shared_ptr<Tree>& node) {
        text.append(toUtf8(node->nodeNumber())).append(node->realRoot() ? " R" : "");
        text.append(node->attributes().has(NodeAttributes::kRoof) ? " ^ <" : " <");
        text.append(toUtf8(node->nodeValue())).append(">");
        for (const std::u16string& child : node->childrenList()) {
            text.append(" ").append(toUtf8(child));
        }
        text.append("\n");
    });
    return text;
}

std::string read(std::u16string_view text, Format format) {
    const auto result = readTreeText(text, format);
    if (const auto* error = std::get_if<TreeTextError>(&result)) {
        return std::to_string(error->line) + ":" + std::to_string(error->column) + " " +
               error->message;
    }
    return describe(*std::get<std::shared_ptr<TreeTable>>(result));
}

std::shared_ptr<TreeTable> table(std::u16string_view text, Format format) {
    return std::get<std::shared_ptr<TreeTable>>(readTreeText(text, format));
}

TEST(TreeText, BracketsReadLabelsLeavesQuotesAndEscapes) {
    EXPECT_EQ(read(u"[S [NP the  old\nman] [VP runs]]", Format::Brackets),
              "0 R <S> 1 3\n1 <NP> 2\n2 <the old man>\n3 <VP> 4\n4 <runs>\n");
    // A bracket ends a run of words; a quote starts a token; markup stays as it is.
    EXPECT_EQ(read(u"[A a \"b  c\"[B]c]\n[<b>x</b>]", Format::Brackets),
              "0 R <A> 1 2 3\n1 <a b  c>\n2 <B>\n3 <c>\n4 R <<b>x</b>>\n");
    // Escapes in bare and quoted tokens; a backslash before anything else stays.
    EXPECT_EQ(read(u"[\\[x\\] \\\"\\\\ \\n \"[\\\"\\y]\" \"\"] [\"\"]", Format::Brackets),
              "0 R <[x]> 1\n1 <\"\\ \\n [\"\\y] >\n2 R <>\n");
    // A roof mark before a label roofs its node, before words the node that holds them; a
    // second mark, a mark inside words and a quoted one are text.
    const char16_t* roofs = u"[^NP ^the big ^dog] [^\"V P\" ^ [V] ^ c] [x \"^y\"] [^^a]";
    EXPECT_EQ(read(roofs, Format::Brackets),
              "0 R ^ <NP> 1\n1 <the big ^dog>\n2 R ^ <V P> 3 4\n3 <V>\n4 <c>\n5 R <x> 6\n"
              "6 <^y>\n7 R ^ <^a>\n");
    EXPECT_EQ(writeTreeText(*table(roofs, Format::Brackets), Format::Brackets),
              u"[^NP the big ^dog]\n[^\"V P\" V [c]]\n[x \"^y\"]\n[^\"^a\"]\n");
}

TEST(TreeText, BracketErrorsSayWhereAndWhat) {
    const std::pair<std::u16string, std::string> cases[] = {
        {u"", "1:1 expected '[' before the end of the text"},
        {u" \n ", "2:2 expected '[' before the end of the text"},
        {u"[S [NP x]\n", "1:1 unclosed '[': expected ']' before the end of the text"},
        {u"[S]\n [T \"x]", "2:5 unclosed quote: expected '\"' before the end of the text"},
        {u"[S]]", "1:4 ']' without a matching '['"},
        {u"[S] x", "1:5 text outside brackets"},
        {u"[]", "1:2 expected a label after '['"},
        {u"[S [[T]]]", "1:5 expected a label after '['"},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(read(text, Format::Brackets), expected) << toUtf8(text);
    }
}

TEST(TreeText, BracketsWriteCanonicallyOnOneLineOrIndented) {
    const auto tree =
        table(u"[S [\"N P\" the old man [\"\"]  [x] y\\z [q [r]] \"a  b\"] [V]]", Format::Brackets);
    EXPECT_EQ(writeTreeText(*tree, Format::Brackets),
              u"[S [\"N P\" the old man [\"\"] x [y\\\\z] [q r] \"a  b\"] V]\n");
    EXPECT_EQ(
        writeTreeText(*tree, Format::Brackets, true),
        u"[S\n  [\"N P\"\n    the old man\n    [\"\"]\n    x\n    [y\\\\z]\n    [q\n      r]\n"
        u"    \"a  b\"]\n  V]\n");
    // A node listed twice, or in a cycle, is written once; children that name no node are not.
    TreeTable cyclic;
    ASSERT_EQ(cyclic.loadTable(u"0,1 2 9,R,a\n1,2 0,0,b\n2,1,0,c\n"), std::nullopt);
    EXPECT_EQ(writeTreeText(cyclic, Format::Brackets), u"[a b [c]]\n");
}

TEST(TreeText, PennReadsWordsAsLeavesAndDropsTheOuterBracket) {
    EXPECT_EQ(read(u"( (S (NP the old-LRB-man-RRB-) (VP runs)) )\n(X)", Format::Penn),
              "0 R <S> 1 4\n1 <NP> 2 3\n2 <the>\n3 <old(man)>\n4 <VP> 5\n5 <runs>\n6 R <X>\n");
    // Several trees in one outer bracket; unlabelled brackets inside are nodes without text.
    EXPECT_EQ(read(u"((A ( (B)) ()) (C))", Format::Penn),
              "0 R <A> 1 3\n1 <> 2\n2 <B>\n3 <>\n4 R <C>\n");
}

TEST(TreeText, PennErrorsSayWhereAndWhat) {
    const std::pair<std::u16string, std::string> cases[] = {
        {u"\n", "2:1 expected '(' before the end of the text"},
        {u"(S (NP x)", "1:1 unclosed '(': expected ')' before the end of the text"},
        {u" (", "1:2 unclosed '(': expected ')' before the end of the text"},
        {u"(S ((", "1:5 unclosed '(': expected ')' before the end of the text"},
        {u"(S))", "1:4 ')' without a matching '('"},
        {u"x (S)", "1:1 text outside brackets"},
        {u"( (S) x)", "1:7 expected a tree, not a word, in the outer brackets"},
        {u"(S)\n()", "2:2 expected a label or a tree after '('"},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(read(text, Format::Penn), expected) << toUtf8(text);
    }
}

TEST(TreeText, PennWritesWordsApartAndBracketsSpelledOut) {
    const auto tree =
        table(u"[\"N P(\" \"the  old) man\" [\"\"] [x]] [\"\" [y]] [\" \"]", Format::Brackets);
    EXPECT_EQ(writeTreeText(*tree, Format::Penn),
              u"(N_P-LRB- the old-RRB- man () x)\n( ( (y)) )\n( () )\n");
}

/// A random forest in reading order, texts from characters that need care in both notations.
std::shared_ptr<TreeTable> randomForest(std::mt19937& random, std::u16string_view alphabet,
                                        std::size_t shortest, bool roofs) {
    std::vector<std::shared_ptr<Tree>> nodes;
    std::vector<std::size_t> open;
    const std::size_t count = 1 + random() % 40;
    while (nodes.size() < count) {
        while (!open.empty() && random() % 3 == 0) {
            open.pop_back();
        }
        std::u16string text;
        for (std::size_t length = shortest + random() % 4; length > 0; --length) {
            text += alphabet[random() % alphabet.size()];
        }
        const std::u16string number = toUtf16(std::to_string(nodes.size()));
        if (!open.empty()) {
            nodes[open.back()]->childrenList().push_back(number);
        }
        nodes.push_back(std::make_shared<Tree>(number, u"", open.empty() ? u"R" : u"", text,
                                               roofs && random() % 4 == 0 ? u"roof" : u""));
        open.push_back(nodes.size() - 1);
    }
    auto dictionary = std::make_unique<NodeDictionary>();
    dictionary->insertAll(std::move(nodes));
    auto forest = std::make_shared<TreeTable>();
    forest->setNodeDictionary(std::move(dictionary));
    return forest;
}

/// Every node bracketed and every text quoted in brackets, or bracketed in Penn.
std::u16string referenceText(const TreeTable& forest, const Tree& node, Format format) {
    const bool brackets = format == Format::Brackets;
    const bool roof = node.attributes().has(NodeAttributes::kRoof);
    std::u16string text = brackets ? (roof ? u"[^\"" : u"[\"") : u"(";
    for (const char16_t c : node.nodeValue()) {
        if (brackets && (c == u'"' || c == u'\\')) {
            text += u'\\';
        }
        if (c == u'(' || c == u')') {
            text.append(c == u'(' ? u"-LRB-" : u"-RRB-");
        } else {
            text += c;
        }
    }
    text.append(brackets ? u"\"" : u"");
    for (const std::u16string& child : node.childrenList()) {
        text += u' ';
        text.append(referenceText(forest, *forest.nodeDictionary()->find(child), format));
    }
    text += brackets ? u']' : u')';
    return text;
}

TEST(TreeText, RandomForestsRoundTrip) {
    std::mt19937 random(7);
    for (int round = 0; round < 300; ++round) {
        const Format format = round % 2 ? Format::Penn : Format::Brackets;
        const auto forest = format == Format::Penn
                                ? randomForest(random, u"a()<-\u00E9", 1, false) // no empty text
                                : randomForest(random, u"a []\"\\\t^\u00E9", 0, true);
        std::u16string reference;
        forest->nodeDictionary()->forEach([&](const std::shared_ptr<Tree>& node) {
            reference += node->realRoot() ? referenceText(*forest, *node, format) + u"\n" : u"";
        });
        ASSERT_EQ(read(reference, format), describe(*forest)) << toUtf8(reference);
        for (const bool indented : {false, true}) {
            const std::u16string canonical = writeTreeText(*forest, format, indented);
            ASSERT_EQ(read(canonical, format), describe(*forest)) << toUtf8(canonical);
            EXPECT_EQ(writeTreeText(*table(canonical, format), format, indented), canonical);
        }
    }
}

TEST(TreeText, DeepNestingReadsAndWritesWithoutRecursion) {
    constexpr std::size_t depth = 100000;
    for (const Format format : {Format::Brackets, Format::Penn}) {
        const bool brackets = format == Format::Brackets;
        std::u16string nested;
        for (std::size_t i = 0; i < depth; ++i) {
            nested += brackets ? u"[x " : u"(x ";
        }
        nested += u"y" + std::u16string(depth, brackets ? u']' : u')') + u"\n";
        const auto tree = table(nested, format);
        EXPECT_EQ(tree->nodeDictionary()->size(), depth + 1);
        EXPECT_EQ(writeTreeText(*tree, format), nested);
        EXPECT_EQ(read(std::u16string_view(nested).substr(0, nested.size() - 2), format),
                  brackets ? "1:1 unclosed '[': expected ']' before the end of the text"
                           : "1:1 unclosed '(': expected ')' before the end of the text");
    }
}

} // namespace
} // namespace lanthor
