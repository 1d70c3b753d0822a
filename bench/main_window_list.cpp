#include "ui/main_window_list.h"

#include <QApplication>
#include <memory>
#include <random>
#include <string>

#include "database/entries.h"
#include "elements/tags.h"
#include "elements/tlv_array.h"
#include "main_window_bench.h"
#include "ui/controls/list_ctrl.h"

namespace main_window_bench {
namespace {

std::u16string Text(const std::string& text) {
  return std::u16string(text.begin(), text.end());
}

// A user's root with one folder of kNotes notes in random order, every field filled; one note
// in a hundred mentions "bank" (in its description), every one holds "example".
struct Sample {
  CKTLVARRAY root;
  CKTLVARRAY* folder = nullptr;

  Sample() {
    root.SetTag(ENTRY_ROOT);
    folder = database::CreateEntry(root, ENTRY_FOLDER);
    folder->SetStringByTag(TAG_NAME, u"Accounts");
    root.AddChild(folder);
    std::mt19937 random(2024);
    for (int i = 0; i < kNotes; ++i) {
      const std::string number = std::to_string(random() % 1'000'000);
      CKTLVARRAY* note = database::CreateEntry(*folder, ENTRY_NOTE);
      note->SetStringByTag(TAG_NAME, Text("Account " + number).c_str());
      note->SetStringByTag(TAG_LOGIN, Text("user" + number).c_str());
      note->SetStringByTag(TAG_PASSWORD, Text("pw-" + std::to_string(random())).c_str());
      note->SetStringByTag(TAG_URL, Text("https://site" + number + ".example.org/").c_str());
      note->SetStringByTag(TAG_EMAIL, Text("ada" + number + "@example.org").c_str());
      note->SetStringByTag(
          TAG_TEXT, Text(i % 100 == 0 ? "Savings at the bank" : "Shop and forum account").c_str());
      folder->AddChild(note);
    }
  }
};

Sample& TheSample() {
  static Sample sample;
  return sample;
}

std::unique_ptr<CKListCtrl> g_list;

// The list as the main window has it: two columns fitted to its width, shown.
CKListCtrl& TheList() {
  if (g_list == nullptr) {
    g_list = std::make_unique<CKListCtrl>();
    g_list->resize(600, 400);
    g_list->SetColumnsOwner(&TheSample().root);
    database::SetupColumns(*g_list);
    g_list->show();
  }
  return *g_list;
}

// Until the list has painted what the user sees.
void Settle() {
  QApplication::processEvents();
}

void Walk(benchmark::State& state) {
  CKTLVARRAY& folder = *TheSample().folder;
  for (auto _ : state) {
    std::size_t characters = 0;
    for (CKTLV* child : folder.GetChildren()) {
      if (child->GetType() == TLV_ARRAY) {
        characters += database::GetName(*static_cast<CKTLVARRAY*>(child)).size();
      }
    }
    benchmark::DoNotOptimize(characters);
  }
}

// Copying out every string field of every note: what any search has to read.
void ReadFields(benchmark::State& state) {
  CKTLVARRAY& folder = *TheSample().folder;
  std::u16string value;
  for (auto _ : state) {
    std::size_t characters = 0;
    for (CKTLV* note : folder.GetChildren()) {
      if (note->GetType() != TLV_ARRAY) {
        continue;
      }
      for (CKTLV* field : static_cast<CKTLVARRAY*>(note)->GetChildren()) {
        if (field->GetType() == TLV_STRING && field->GetString(value)) {
          characters += value.size();
        }
      }
    }
    benchmark::DoNotOptimize(characters);
  }
}

void FillAndSort(benchmark::State& state) {
  CKListCtrl& list = TheList();
  for (auto _ : state) {
    main_window::ShowFolder(list, *TheSample().folder);
    Settle();
  }
  state.counters["rows"] = list.GetRowCount();
}

void Search(benchmark::State& state, const std::u16string& text) {
  CKListCtrl& list = TheList();
  for (auto _ : state) {
    main_window::ShowSearchResult(list, TheSample().root, text);
    Settle();
  }
  state.counters["rows"] = list.GetRowCount();
}

const auto* const kWalk = Configure(benchmark::RegisterBenchmark("walk/reference", Walk));
const auto* const kFields =
    Configure(benchmark::RegisterBenchmark("read fields/reference", ReadFields));
const auto* const kFill =
    Configure(benchmark::RegisterBenchmark("fill and sort/ours", FillAndSort));
const auto* const kSearchFew = Configure(benchmark::RegisterBenchmark(
    "search, 100 found/ours", [](benchmark::State& state) { Search(state, u"BANK"); }));
const auto* const kSearchAll = Configure(benchmark::RegisterBenchmark(
    "search, all found/ours", [](benchmark::State& state) { Search(state, u"Example"); }));
const auto* const kSearchNone = Configure(benchmark::RegisterBenchmark(
    "search, none found/ours", [](benchmark::State& state) { Search(state, u"zebra"); }));

}  // namespace

void ReleaseWidgets() {
  g_list.reset();
}

}  // namespace main_window_bench
