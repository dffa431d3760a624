#include "vornak/config.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "platform/error.h"
#include "vornak/core/test_project.h"

namespace vornak {
namespace {

// A folder holding a complete, valid set-up; each case changes one piece of it. "$D" in a text
// stands for the folder.
class SetUpFolder {
 public:
  SetUpFolder() {
    char pattern[] = "/tmp/vornak_config_XXXXXX";
    folder_ = mkdtemp(pattern);
    files_ = {{"vornak.ini", "[paths]\r\nop=$D/ops.ini\r\nide=$D/game.ide\r\n"},
              {"ops.ini", kTestOpcodes},
              {"game.ide", "1, CRATE\r\n"},
              {"project.ini",
               "[script]\r\nmain_thread=$D/main.gsr\r\noutput=$D/out.scm\r\n"
               "mission_dir=$D/missions\r\n"},
              {"main.gsr", "NOP\r\n"}};
    std::filesystem::create_directory(folder_ + "/missions");
  }
  ~SetUpFolder() { std::filesystem::remove_all(folder_); }

  std::string Expand(std::string text) const {
    for (size_t at = text.find("$D"); at != text.npos; at = text.find("$D", at)) {
      text.replace(at, 2, folder_);
    }
    return text;
  }

  // Writes the set-up and runs both start-up steps; returns the failure's message or "".
  std::string Start(std::vector<std::string> arguments) {
    for (const auto& [name, text] : files_) {
      std::ofstream(folder_ + "/" + name, std::ios::binary) << Expand(text);
    }
    for (std::string& argument : arguments) argument = Expand(argument);
    try {
      InitialiseAssembler(folder_ + "/vornak.ini", &state_);
      OpenProject(arguments, &state_);
    } catch (const platform::Error& error) {
      return error.what();
    }
    return "";
  }

  std::string folder_;
  std::map<std::string, std::string> files_;
  BuildState state_;
};

TEST(ConfigTest, ChecksEveryPathInOrderWithItsOwnMessage) {
  struct Case {
    const char* name;
    std::map<std::string, std::string> changes;  // an empty text removes the file
    std::vector<std::string> arguments;
    const char* message;
  };
  const Case cases[] = {
      {"no tool configuration",
       {{"vornak.ini", ""}},
       {"$D/project.ini"},
       "Vornak configuration file \"$D/vornak.ini\" does not exist, Aborting"},
      {"no op key",
       {{"vornak.ini", "[paths]\r\nide=$D/game.ide\r\n"}},
       {"$D/project.ini"},
       "Scm opcode ini \"\" does not exist, Aborting"},
      {"opcode file missing",
       {{"ops.ini", ""}, {"game.ide", ""}},
       {"$D/project.ini"},
       "Scm opcode ini \"$D/ops.ini\" does not exist, Aborting"},
      {"opcode path names a folder",
       {{"vornak.ini", "[paths]\r\nop=$D/missions\r\n"}},
       {"$D/project.ini"},
       "Scm opcode ini \"$D/missions\" does not exist, Aborting"},
      {"IDE file missing",
       {{"game.ide", ""}},
       {"$D/project.ini"},
       "IDE File \"$D/game.ide\" does not exist, Aborting"},
      {"opcode file malformed",
       {{"ops.ini", "0001=1 ,WAIT\r\n"}},
       {"$D/project.ini"},
       "'1 ' is not a valid integer value"},
      {"no argument", {}, {}, "No project file specified"},
      {"project missing", {}, {"$D/absent.ini"}, "No project \"$D/absent.ini\" not found"},
      {"mission folder missing before main thread",
       {{"project.ini", "[script]\r\nmission_dir=$D/nowhere\r\n"}},
       {"$D/project.ini"},
       "Mission directory \"$D/nowhere\\\" does not exist!"},
      {"no main thread",
       {{"project.ini", "[script]\r\nmission_dir=$D/missions\\\r\n"}},
       {"$D/project.ini"},
       "No main thread declared, Aborting"},
      {"main thread missing",
       {{"main.gsr", ""}},
       {"$D/project.ini"},
       "Main thread \"$D/main.gsr\", Aborting"},
      {"no output",
       {{"project.ini", "[script]\r\nmission_dir=$D\r\nmain_thread=$D/main.gsr\r\n"}},
       {"$D/project.ini"},
       "Cannot create file "},
      {"output names a folder",
       {{"project.ini",
         "[script]\r\nmission_dir=$D\r\nmain_thread=$D/main.gsr\r\noutput=$D/missions\r\n"}},
       {"$D/project.ini"},
       "Cannot create file $D/missions"},
      {"output in a missing folder",
       {{"project.ini",
         "[script]\r\nmission_dir=$D\r\nmain_thread=$D/main.gsr\r\noutput=$D/no/out.scm\r\n"}},
       {"$D/project.ini"},
       "Cannot create file $D/no/out.scm"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetUpFolder setup;
    for (const auto& [name, text] : c.changes) {
      if (text.empty()) {
        setup.files_.erase(name);
      } else {
        setup.files_[name] = text;
      }
    }
    EXPECT_EQ(setup.Start(c.arguments), setup.Expand(c.message));
  }
}

TEST(ConfigTest, CutsAPathAfter255Characters) {
  SetUpFolder setup;
  const std::string main_thread = setup.Expand("$D/") + std::string(300, 'a');
  setup.files_["project.ini"] = "[script]\r\nmission_dir=$D\r\nmain_thread=" + main_thread;
  EXPECT_EQ(setup.Start({"$D/project.ini"}),
            "Main thread \"" + main_thread.substr(0, 255) + "\", Aborting");
}

TEST(ConfigTest, MakesTheMainSourcePartZeroAndEndsTheMissionFolderWithABackslash) {
  SetUpFolder setup;
  ASSERT_EQ(setup.Start({"$D/project.ini", "ignored"}), "");
  EXPECT_EQ(setup.state_.part_list, std::vector<std::string>{setup.folder_ + "/main.gsr"});
  EXPECT_EQ(setup.state_.mission_folder, setup.folder_ + "/missions\\");
  EXPECT_EQ(setup.state_.opcodes.Find("NOP"), 5);
  EXPECT_TRUE(setup.state_.models.Find("%CRATE"));
  EXPECT_TRUE(setup.state_.output);

  SetUpFolder with_backslash;
  with_backslash.files_["project.ini"] =
      "[script]\r\nmain_thread=$D/main.gsr\r\noutput=$D/out.scm\r\nmission_dir=$D/missions\\\r\n";
  ASSERT_EQ(with_backslash.Start({"$D/project.ini"}), "");
  EXPECT_EQ(with_backslash.state_.mission_folder, with_backslash.folder_ + "/missions\\");
}

}  // namespace
}  // namespace vornak
