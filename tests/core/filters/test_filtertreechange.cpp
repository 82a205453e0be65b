// A filter tree change through a file port that fails at every step: whatever step a crash stops at, the next
// start sees the old set of files or the new one, and each filter's key goes where its files went.
#include "filters/filtertreefiles.h"
#include "settings/errors.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

using namespace quintor;

namespace {

const std::string kFolder = "/app/";

// The application folder in memory. From the step `stopAt` on (counting saves and removes) nothing more
// happens, as after a kill; with `failOnce` only that one step fails.
class MemoryFiles : public FilePort {
public:
    std::map<std::string, std::string> files;
    std::set<std::string> unreadable;
    int steps = 0;
    int stopAt = -1;
    bool failOnce = false;

    bool exists(const std::string& path) override { return files.count(path) != 0; }
    std::string read(const std::string& path) override
    {
        const auto found = files.find(path);
        if (found == files.end() || unreadable.count(path))
            throw FileError("Die Datei \"" + path + "\" kann nicht gelesen werden");
        return found->second;
    }
    void save(const std::string& path, std::string_view bytes) override
    {
        step();
        files[path] = std::string(bytes);
    }
    void remove(const std::string& path) override
    {
        step();
        files.erase(path);
    }

private:
    void step()
    {
        const int now = steps++;
        if (stopAt >= 0 && (failOnce ? now == stopAt : now >= stopAt)) throw FileError("Abbruch");
    }
};

// Each filter's files hold its name, so a filter with another one's rules shows.
MemoryFiles storeOf(const std::vector<FilterGroup>& tree)
{
    MemoryFiles store;
    const TextList list = filterListOf(tree);
    store.files[kFolder + "filter.txt"] = list.text();
    store.files[kFolder + "index.txt"] = filterIndexOf(list).text();
    for (const FilterEntry& entry : enumerateFilters(list)) {
        store.files[kFolder + conditionsFileName(entry.key)] = "edit0=" + entry.name + "\r\n";
        store.files[kFolder + actionsFileName(entry.key)] = "edit0=" + entry.name + " tut\r\n";
    }
    return store;
}

TextList listIn(const MemoryFiles& store)
{
    TextList list;
    list.setText(store.files.at(kFolder + "filter.txt"));
    return list;
}

struct Case {
    const char* name;
    FilterTreeChange change;
    FilterKeyMapping keys;
};

class FilterTreeChangeTest : public testing::TestWithParam<Case> {};

TEST_P(FilterTreeChangeTest, AStopAtAnyStepLeavesTheOldOrTheNewSetAndKeysFollowTheFiles)
{
    const Case& c = GetParam();
    const MemoryFiles before = storeOf({{"A", {"a0", "a1", "a2"}}, {"B", {"b0", "b1"}}, {"C", {"c0"}}});

    MemoryFiles clean = before;
    const FilterTreePlan plan = changeFilterTree(listIn(before), c.change, clean, kFolder);
    EXPECT_EQ(plan.keys, c.keys);
    EXPECT_NE(clean.files, before.files);
    EXPECT_EQ(plan.filters.text(), clean.files.at(kFolder + "filter.txt"));
    // Every key of the old list that the change kept now holds the files that were under it before.
    for (const auto& [from, to] : plan.keys.moved)
        EXPECT_EQ(clean.files.at(kFolder + conditionsFileName(to)),
                  before.files.at(kFolder + conditionsFileName(from)));
    std::set<std::string> targets;
    for (const auto& moved : plan.keys.moved)
        targets.insert(moved.second);
    for (const auto& key : plan.keys.removed) {
        if (!targets.count(key)) {
            EXPECT_FALSE(clean.exists(kFolder + conditionsFileName(key))) << key;
        }
    }

    bool sawOld = false, sawNew = false;
    for (int stop = 0; stop < clean.steps; ++stop) {
        for (const bool once : {false, true}) {
            MemoryFiles run = before;
            run.stopAt = stop;
            run.failOnce = once;
            try {
                changeFilterTree(listIn(run), c.change, run, kFolder);
            } catch (const FileError&) {
            }
            // The next start.
            run.stopAt = -1;
            const FilterStoreLoad load = loadFilterStore(run, kFolder);
            EXPECT_FALSE(load.unreadable) << *load.unreadable;
            if (once) {
                // The journal not saved: nothing changed. A later step that fails once is tried again at once,
                // so the change is made within the run.
                EXPECT_EQ(run.files, stop == 0 ? before.files : clean.files) << "failing once at step " << stop;
            } else {
                EXPECT_TRUE(run.files == before.files || run.files == clean.files) << "stopped at step " << stop;
                sawOld = sawOld || run.files == before.files;
                sawNew = sawNew || run.files == clean.files;
                EXPECT_EQ(load.filters.text(), run.files.at(kFolder + "filter.txt"));
            }
        }
    }
    EXPECT_TRUE(sawOld && sawNew);
}

INSTANTIATE_TEST_SUITE_P(
    Changes, FilterTreeChangeTest,
    testing::Values(Case{"deleteFirstFilter",
                         FilterTreeChange::deleteFilter(0, 0),
                         {{{"grp0fil1", "grp0fil0"}, {"grp0fil2", "grp0fil1"}}, {"grp0fil0"}, std::nullopt}},
                    Case{"deleteGroup",
                         FilterTreeChange::deleteGroup(0),
                         {{{"grp1fil0", "grp0fil0"}, {"grp1fil1", "grp0fil1"}, {"grp2fil0", "grp1fil0"}},
                          {"grp0fil0", "grp0fil1", "grp0fil2"},
                          std::nullopt}},
                    Case{"moveUp",
                         FilterTreeChange::moveFilterUp(0, 2),
                         {{{"grp0fil2", "grp0fil1"}, {"grp0fil1", "grp0fil2"}}, {}, std::nullopt}},
                    Case{"newFilter", FilterTreeChange::addFilter(1, "neu"), {{}, {}, "grp1fil2"}},
                    Case{"renameFilter", FilterTreeChange::renameFilter(2, 0, "umbenannt"), {}}),
    [](const testing::TestParamInfo<Case>& info) { return info.param.name; });

TEST(FilterTreeChange, MovingUpWithAFileThatCannotBeReadChangesNothing)
{
    MemoryFiles store = storeOf({{"A", {"a0", "a1"}}});
    const MemoryFiles before = store;
    store.unreadable.insert(kFolder + "grp0fil0_act.txt");
    EXPECT_THROW(changeFilterTree(listIn(store), FilterTreeChange::moveFilterUp(0, 1), store, kFolder), FileError);
    EXPECT_EQ(store.files, before.files);
    EXPECT_EQ(store.steps, 0);
}

// Not read at all, or read only up to a NUL byte (a file saved as UTF-16 by an editor): a change written from what
// was read would lose the rest.
TEST(FilterTreeChange, AFilterFileThatCannotBeReadAtStartMakesTheStoreReadOnly)
{
    for (const bool cutByNul : {false, true}) {
        for (const char* name : {"filter.txt", "index.txt", "grp0fil1.txt", "grp0fil1_act.txt", ""}) {
            MemoryFiles store = storeOf({{"A", {"a0", "a1"}}});
            if (!cutByNul) {
                store.unreadable.insert(kFolder + name);
            } else if (store.files.count(kFolder + name)) {
                store.files[kFolder + name].append(1, '\0').append("dahinter\r\n");
            }
            const FilterStoreLoad load = loadFilterStore(store, kFolder);
            EXPECT_EQ(load.unreadable.has_value(), *name != '\0') << name << cutByNul;
            if (load.unreadable) {
                EXPECT_NE(load.unreadable->find(name), std::string::npos) << *load.unreadable;
            }
            // The list as far as it was read.
            const bool listUnread = !cutByNul && std::string(name) == "filter.txt";
            EXPECT_EQ(load.filters.count(), listUnread ? 0 : 3) << name << cutByNul;
            EXPECT_EQ(store.steps, 0) << name;
        }
    }
}

TEST(FilterTreeChange, AJournalThatIsNotWholeOrNamesAnotherFileIsNotCarriedOut)
{
    FileSetChange change{{{"grp0fil0.txt", "neu\r\n"}, {"filter.txt", "grp0=X\r\n"}}, {"grp0fil1.txt"}};
    const std::string whole = journalBytes(change);
    ASSERT_EQ(parseJournal(whole), change);
    const FileSetChange elsewhere{{{"config.txt", "feed=http://fremd/\r\n"}}, {}};
    for (const std::string& journal :
         {whole.substr(0, whole.size() - 2), whole.substr(0, 30), journalBytes(elsewhere)}) {
        MemoryFiles store = storeOf({{"A", {"a0", "a1"}}});
        store.files[kFolder + "filter.journal"] = journal;
        const MemoryFiles before = store;
        const FilterStoreLoad load = loadFilterStore(store, kFolder);
        EXPECT_TRUE(load.unreadable);
        EXPECT_EQ(store.files, before.files);
    }
}

} // namespace
