#pragma once

#include <string>
#include <vector>

#include "database/new_note_defaults.h"
#include "elements/tags.h"
#include "elements/tlv_array.h"
#include "platform/choosers.h"
#include "platform/entry_views.h"
#include "platform/utf.h"

namespace test {

// A list view that records what it is told, rows by their entries.
class RecordingListView final : public platform::EntryListView {
 public:
  void SetRedraw(bool redraw) override { calls.push_back(redraw ? "redraw on" : "redraw off"); }
  void DeleteAllRows() override {
    calls.push_back("clear");
    rows.clear();
  }
  void AddUpRow() override { calls.push_back("up"); }
  void AddRow(CKTLVARRAY* entry) override {
    std::u16string name;
    entry->GetStringByTag(TAG_NAME, name);
    calls.push_back("row " + platform::ToUtf8(name));
    rows.push_back(entry);
  }
  void DeleteRow(const CKTLVARRAY* entry) override {
    calls.push_back("delete");
    std::erase(rows, entry);
  }
  void SortRows() override { calls.push_back("sort"); }
  void PrepareColumns(const std::u16string& first, const std::u16string& second) override {
    calls.push_back("columns " + platform::ToUtf8(first) + "|" + platform::ToUtf8(second));
  }
  int ClientWidth() const override { return width; }
  void SetColumnWidth(int column, int column_width) override {
    calls.push_back("width " + std::to_string(column) + " " + std::to_string(column_width));
  }

  std::vector<std::string> calls;
  std::vector<const CKTLVARRAY*> rows;
  int width = 0;
};

// Folder and note editors that answer as told; installed for their lifetime.
class ScriptedEditors final : public platform::EntryEditors {
 public:
  ScriptedEditors() : previous_(platform::InstallEditors(this)) {}
  ~ScriptedEditors() override { platform::InstallEditors(previous_); }
  ScriptedEditors(const ScriptedEditors&) = delete;
  ScriptedEditors& operator=(const ScriptedEditors&) = delete;

  bool EditFolder(CKTLVARRAY&) override {
    edited.push_back("folder");
    return answer;
  }
  bool EditNote(CKTLVARRAY&) override {
    edited.push_back("note");
    return answer;
  }

  bool answer = true;
  std::vector<std::string> edited;

 private:
  platform::EntryEditors* previous_;
};

class FixedDefaults final : public CKNewNoteDefaults {
 public:
  bool AutoFill() const override { return auto_fill; }
  std::u16string DefaultLogin() const override { return u"me"; }
  std::u16string DefaultEmail() const override { return u"me@example.invalid"; }
  std::u16string GeneratePassword() override {
    return u"generated-" + platform::FromUtf8(std::to_string(++generated));
  }
  bool auto_fill = true;
  int generated = 0;
};

// File and folder choosers that choose what they are given (cancel when it is empty), and
// record the filters they were shown; installed for their lifetime.
class ScriptedChoosers final : public platform::Choosers {
 public:
  ScriptedChoosers() : previous_(platform::InstallChoosers(this)) {}
  ~ScriptedChoosers() override { platform::InstallChoosers(previous_); }
  ScriptedChoosers(const ScriptedChoosers&) = delete;
  ScriptedChoosers& operator=(const ScriptedChoosers&) = delete;

  bool ChooseFolder(platform::ParentWindow, std::u16string& folder) override {
    folder = chosen;
    return !chosen.empty();
  }
  bool ChooseOpenFile(platform::ParentWindow, const std::vector<platform::FileFilter>& shown,
                      std::u16string& path) override {
    filters = shown;
    path = chosen;
    return !chosen.empty();
  }
  bool ChooseSaveFile(platform::ParentWindow, const platform::SaveFileOptions&,
                      std::u16string&) override {
    return false;
  }

  std::u16string chosen;
  std::vector<platform::FileFilter> filters;

 private:
  platform::Choosers* previous_;
};

}  // namespace test
