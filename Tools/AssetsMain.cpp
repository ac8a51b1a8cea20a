// AssetsMain.cpp -- calvora-assets: generates the game's own data set (pictures, font atlases,
// sounds, music and particle paths) into a data folder, and draws the review contact sheet.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <exception>
#include <iostream>
#include <mutex>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "AssetsCore.h"
#include "Platform.h"

namespace {

const char* const kUsage =
    "usage: calvora-assets [--only NAME,...] [--contact-sheet FILE.png] [--jobs N] [DATA_FOLDER]\n"
    "  Writes Textures/, Branding/, Paths/ and Samples/ into DATA_FOLDER (default: the folder of\n"
    "  this program, where the game looks for them). --only runs some generators; --contact-sheet\n"
    "  also draws every texture generated, with its segments, onto one PNG.\n";

struct TOptions {
  std::filesystem::path Folder;
  std::set<std::string> Only;
  std::string ContactSheet;
  unsigned Jobs = 0;
};

std::set<std::string> SplitNames(const std::string& List) {
  std::set<std::string> Names;
  std::stringstream Stream(List);
  std::string Name;
  while (std::getline(Stream, Name, ','))
    if (!Name.empty()) Names.insert(Name);
  return Names;
}

std::filesystem::path ProgramFolder(const char* Argv0) {
  std::error_code Error;
  const std::filesystem::path Self = std::filesystem::read_symlink("/proc/self/exe", Error);
  if (!Error) return Self.parent_path();
  return std::filesystem::absolute(Argv0).parent_path();
}

// Returns false on a bad command line.
bool ParseOptions(int argc, char** argv, TOptions& Options) {
  std::vector<std::string> Arguments(argv + 1, argv + argc);
  for (std::size_t Index = 0; Index < Arguments.size(); ++Index) {
    const std::string& Argument = Arguments[Index];
    const bool HasValue = Index + 1 < Arguments.size();
    if (Argument == "--only" && HasValue) {
      Options.Only = SplitNames(Arguments[++Index]);
    } else if (Argument == "--contact-sheet" && HasValue) {
      Options.ContactSheet = Arguments[++Index];
    } else if (Argument == "--jobs" && HasValue) {
      const int Jobs = std::atoi(Arguments[++Index].c_str());
      if (Jobs < 1) return false;
      Options.Jobs = static_cast<unsigned>(Jobs);
    } else if (!Argument.empty() && Argument[0] != '-' && Options.Folder.empty()) {
      Options.Folder = Argument;
    } else {
      return false;
    }
  }
  if (Options.Folder.empty()) Options.Folder = ProgramFolder(argv[0]);
  return true;
}

std::vector<Assets::TGeneratorInfo> ChosenGenerators(const std::set<std::string>& Only,
                                                     std::string& Unknown) {
  std::vector<Assets::TGeneratorInfo> Chosen;
  std::set<std::string> Known;
  for (const Assets::TGeneratorInfo& Generator : Assets::Generators()) {
    Known.insert(Generator.Name);
    if (Only.empty() || Only.count(Generator.Name)) Chosen.push_back(Generator);
  }
  for (const std::string& Name : Only)
    if (!Known.count(Name)) Unknown = Name;
  std::sort(Chosen.begin(), Chosen.end(),
            [](const auto& A, const auto& B) { return A.Name < B.Name; });
  return Chosen;
}

// Runs the generators on Jobs threads; returns the failures, one line each.
std::vector<std::string> RunGenerators(const std::vector<Assets::TGeneratorInfo>& Chosen,
                                       Assets::TOutput& Output, unsigned Jobs) {
  std::atomic<std::size_t> NextIndex{0};
  std::mutex FailureLock;
  std::vector<std::string> Failures;
  auto Work = [&] {
    for (std::size_t Index = NextIndex++; Index < Chosen.size(); Index = NextIndex++) {
      try {
        Chosen[Index].Run(Output);
      } catch (const std::exception& Error) {
        std::lock_guard<std::mutex> Guard(FailureLock);
        Failures.push_back(Chosen[Index].Name + ": " + Error.what());
      }
    }
  };
  std::vector<std::thread> Threads;
  for (unsigned Thread = 1; Thread < Jobs; ++Thread)
    Threads.emplace_back(Work);
  Work();
  for (std::thread& Thread : Threads)
    Thread.join();
  std::sort(Failures.begin(), Failures.end());
  return Failures;
}

}  // namespace

int main(int argc, char** argv) {
  TOptions Options;
  if (!ParseOptions(argc, argv, Options)) {
    std::cerr << kUsage;
    return 2;
  }
  std::string Unknown;
  const std::vector<Assets::TGeneratorInfo> Chosen = ChosenGenerators(Options.Only, Unknown);
  if (!Unknown.empty()) {
    std::cerr << "calvora-assets: no generator named '" << Unknown << "'\n"
              << kUsage << "  generators:";
    for (const Assets::TGeneratorInfo& Generator : ChosenGenerators({}, Unknown))
      std::cerr << " " << Generator.Name;
    std::cerr << "\n";
    return 2;
  }
  if (Options.Jobs == 0) Options.Jobs = std::max(1u, std::thread::hardware_concurrency());

  const auto Start = std::chrono::steady_clock::now();
  Assets::TOutput Output(Options.Folder, !Options.ContactSheet.empty());
  const std::vector<std::string> Failures = RunGenerators(Chosen, Output, Options.Jobs);
  for (const std::string& Failure : Failures)
    std::cerr << "calvora-assets: " << Failure << "\n";
  if (!Failures.empty()) return 1;

  const std::vector<std::string> Written = Output.WrittenFiles();
  std::string Failure;
  if (!Options.ContactSheet.empty())
    Failure = Platform::WriteFileAtomic(
        Options.ContactSheet, Assets::EncodePng(Assets::ContactSheet(Output.SheetEntries())));
  // The list of files written, which is also the build's record that the data set is complete.
  // Always rewritten (unlike the data files, which keep their time when unchanged), so the build
  // sees the generation as done.
  if (Failure.empty() && Options.Only.empty()) {
    std::string List;
    for (const std::string& File : Written)
      List += File + "\n";
    Failure = Platform::WriteFileAtomic((Options.Folder / "Assets.list").string(), List);
  }
  if (!Failure.empty()) {
    std::cerr << "calvora-assets: " << Failure << "\n";
    return 1;
  }
  cairo_debug_reset_static_data();
  const double Seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count();
  std::cout << "calvora-assets: " << Written.size() << " files in " << std::round(Seconds * 10) / 10
            << " s\n";
  return 0;
}
