// The relation modes that refuse or clear, on two small files: a parent
// file of codes and a child file whose records carry a parent's code.

#include "platform/lib/file_relations.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/db/context.h"
#include "platform/ui/message_port.h"

namespace {

using namespace platform;

const RecordLayout& parentLayout() {
  static const RecordLayout layout("Parents", "PAR", "PARENTS", 30, {STRING("PAR:CODE", 10, 0), STRING("PAR:NAME", 20, 10)});
  return layout;
}
const RecordLayout& childLayout() {
  static const RecordLayout layout("Children", "KID", "CHILDREN", 14, {LONG("KID:ID", 0), STRING("KID:CODE", 10, 4)});
  return layout;
}
const FileDefinition parentSpec{&parentLayout(), {KeyDefinition{"PAR:KeyCode", "Code", 1, true, true, false}}};
const FileDefinition childSpec{&childLayout(),
                               {KeyDefinition{"KID:KeyID", "ID", 1, true, true, false},
                                KeyDefinition{"KID:KeyCode", "Code", 2, false, false, false}}};

class Recorder final : public MessagePort {
 public:
  unsigned show(const MessageRequest& r) override {
    titles.push_back(r.title);
    texts.push_back(r.text);
    return r.defaultButton;
  }
  std::vector<std::string> titles, texts;
};

struct Files {
  Files() {
    char pattern[] = "/tmp/lv-rel-XXXXXX";
    dir = mkdtemp(pattern);
    previous = std::filesystem::current_path();
    std::filesystem::current_path(dir);
    for (FileManager* m : {&parentAccess, &childAccess}) m->CREATE = true;
  }
  ~Files() {
    std::filesystem::current_path(previous);
    std::filesystem::remove_all(dir);
  }
  FieldRef parent(int field) { return FieldRef::of(parentLayout().field(field), parentFile.record()); }
  FieldRef child(int field) { return FieldRef::of(childLayout().field(field), childFile.record()); }
  std::vector<std::string> childCodes() {
    std::vector<DbRow> rows;
    EXPECT_EQ(childFile.readPage(1, Direction::Forward, std::nullopt, 100, std::nullopt, rows), DbStatus::Ok);
    std::vector<std::string> codes;
    for (DbRow& r : rows) codes.push_back(FieldRef::of(childLayout().field(2), r.image.data()).text());
    return codes;
  }
  std::vector<std::string> parentCodes() {
    std::vector<DbRow> rows;
    EXPECT_EQ(parentFile.readPage(1, Direction::Forward, std::nullopt, 100, std::nullopt, rows), DbStatus::Ok);
    std::vector<std::string> codes;
    for (DbRow& r : rows) codes.push_back(FieldRef::of(parentLayout().field(1), r.image.data()).text());
    return codes;
  }

  std::string dir;
  std::filesystem::path previous;
  ErrorManager errors;
  DbContext context;
  DbFile parentFile{context, parentSpec}, childFile{context, childSpec};
  FileManager parentAccess, childAccess;
  FileRelations parents, children;
  bool ready = [this] {
    parentAccess.Init(parentFile, errors);
    childAccess.Init(childFile, errors);
    parents.Init(parentAccess);
    children.Init(childAccess);
    return true;
  }();
};

TEST(FileRelationsTest, RestrictRefusesWhileChildrenExistAndClearEmptiesTheirLinks) {
  enum Op { Delete, Change };
  struct Case {
    const char* what;
    int mode;
    Op op;
    bool children;
    int level;
    std::vector<std::string> titles;
    std::vector<std::string> parentsAfter, childrenAfter;
  };
  const Case cases[] = {
      {"restrict, delete, children", RelationRestrict, Delete, true, LevelNotify,
       {"Referential Integrity Delete Error"}, {"A", "B"}, {"A", "A", "B"}},
      {"restrict, delete, no children", RelationRestrict, Delete, false, LevelBenign, {}, {"B"}, {"B"}},
      {"restrict, change, children", RelationRestrict, Change, true, LevelNotify,
       {"Referential Integrity Update Error"}, {"A", "B"}, {"A", "A", "B"}},
      {"restrict, change, no children", RelationRestrict, Change, false, LevelBenign, {}, {"B", "C"}, {"B"}},
      {"clear, delete", RelationClear, Delete, true, LevelBenign, {}, {"B"}, {"", "", "B"}},
      {"clear, change", RelationClear, Change, true, LevelBenign, {}, {"B", "C"}, {"", "", "B"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Files f;
    Recorder port;
    setMessagePort(&port);
    f.parents.AddRelation(f.children, c.mode, c.mode, 2);
    f.parents.AddRelationLink(1, 2);
    f.children.AddRelation(f.parents);
    ASSERT_EQ(f.parents.Open(), 0);
    ASSERT_EQ(f.parentAccess.UseFile(), 0);
    ASSERT_EQ(f.childAccess.UseFile(), 0);
    for (const char* code : {"A", "B"}) {
      f.parentAccess.PrimeRecord();
      f.parent(1).setText(code);
      ASSERT_EQ(f.parentAccess.Insert(), 0);
    }
    int id = 0;
    for (const char* code : {"A", "A", "B"}) {
      if (!c.children && std::string(code) == "A") continue;
      f.childAccess.PrimeRecord();
      f.child(1).setInteger(++id);
      f.child(2).setText(code);
      ASSERT_EQ(f.childAccess.Insert(), 0);
    }
    f.parent(1).setText("a");
    ASSERT_EQ(f.parentAccess.TryFetch(1), 0);
    int level;
    if (c.op == Delete) {
      level = f.parents.Delete(false);
    } else {
      const std::vector<std::uint8_t> original(f.parentFile.image().begin(), f.parentFile.image().end());
      f.parent(1).setText("C");
      level = f.parents.Update(original);
      // A refused change puts the linking field back.
      EXPECT_EQ(f.parent(1).text(), level == LevelBenign ? "C" : "A");
    }
    EXPECT_EQ(level, c.level);
    EXPECT_EQ(port.titles, c.titles);
    if (!port.texts.empty()) {
      EXPECT_NE(port.texts[0].find("referenced from the file Children."), std::string::npos) << port.texts[0];
    }
    EXPECT_EQ(f.parentCodes(), c.parentsAfter);
    EXPECT_EQ(f.childCodes(), c.childrenAfter);
    f.parents.Close();
    setMessagePort(nullptr);
  }
}

}  // namespace
