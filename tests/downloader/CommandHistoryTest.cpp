#include "downloader/core/CommandHistory.h"

#include <gtest/gtest.h>

namespace downloader {

namespace {

// Runs a key script ('U' up, 'D' down) and returns what the field shows after each key ("-" unchanged).
std::vector<std::string> Keys(CommandHistory& history, const std::string& keys)
{
    std::vector<std::string> shown;
    for (const char key : keys) {
        const std::optional<std::string> text = key == 'U' ? history.Up() : history.Down();
        shown.push_back(text.value_or("-"));
    }
    return shown;
}

} // namespace

TEST(CommandHistory, RecallSequences)
{
    struct Case
    {
        std::vector<std::string> typed;
        std::string keys;
        std::vector<std::string> shown;
    };
    const std::vector<Case> cases{
        {{}, "UD", {"-", "-"}},
        {{"A", "B", "C"}, "UUUUDDD", {"A", "B", "C", "C", "B", "A", "A"}},
        {{"A", "B", "C"}, "D", {""}},
        {{"A"}, "UUD", {"A", "A", "-"}},
        {{"A", "B"}, "UD", {"A", "A"}},
        {{"A", "B"}, "UUDU", {"A", "B", "A", "B"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keys);
        CommandHistory history;
        for (const std::string& text : c.typed) {
            history.Add(text);
        }
        EXPECT_EQ(Keys(history, c.keys), c.shown);
    }
}

TEST(CommandHistory, RepeatedCommandMovesToTheEnd)
{
    CommandHistory history;
    for (const char* text : {"A", "B", "A", "C", "C"}) {
        history.Add(text);
    }
    EXPECT_EQ(history.Entries(), (std::vector<std::string>{"B", "A", "C"}));
}

TEST(CommandHistory, IndexIsNotResetByNewEntries)
{
    CommandHistory history;
    history.Add("A");
    history.Add("B");
    EXPECT_EQ(Keys(history, "UU"), (std::vector<std::string>{"A", "B"}));
    history.Add("C");
    // The walk goes on from where it was: the next Up shows the new entry.
    EXPECT_EQ(Keys(history, "UD"), (std::vector<std::string>{"C", "B"}));
}

} // namespace downloader
