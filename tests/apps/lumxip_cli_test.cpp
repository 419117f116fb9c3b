// The command's interface is what scripts rely on: subcommands, exit codes (0 success,
// 1 failure reported by the library, 2 usage or unreadable file) and the JSON output.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Outcome {
  int exitCode = -1;
  std::string out, err;
};

class LumxipCli : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("lumxip-cli-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  // Runs the program with `args` (shell words) in the scratch folder.
  Outcome lumxip(const std::string& args) {
    const fs::path err = dir_ / "stderr.txt";
    const std::string command =
        "cd '" + dir_.string() + "' && '" LUMXIP_PROGRAM "' " + args + " 2>'" + err.string() + "'";
    Outcome outcome;
    FILE* pipe = ::popen(command.c_str(), "r");
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
      outcome.out.append(buffer, n);
    const int status = ::pclose(pipe);
    outcome.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream in(err);
    outcome.err.assign(std::istreambuf_iterator<char>(in), {});
    return outcome;
  }

  // An 8-bit PGM whose pixel (x, y) is `value(x, y)`.
  template <class F>
  fs::path writePgm(const std::string& name, int width, int height, F value) {
    const fs::path file = dir_ / name;
    std::ofstream out(file, std::ios::binary);
    out << "P5\n" << width << " " << height << "\n255\n";
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        out.put(static_cast<char>(value(x, y)));
    return file;
  }

  static std::vector<unsigned char> pgmPixels(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::string magic;
    int width = 0, height = 0, maxval = 0;
    in >> magic >> width >> height >> maxval;
    in.get();
    std::vector<unsigned char> pixels(static_cast<std::size_t>(width * height));
    in.read(reinterpret_cast<char*>(pixels.data()), static_cast<std::streamsize>(pixels.size()));
    return pixels;
  }

  fs::path dir_;
};

TEST_F(LumxipCli, DemoWritesInputIntermediatesAndOutput) {
  const Outcome run = lumxip("demo -o out");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.out.find("Run status: result 0x00000000"), std::string::npos) << run.out;
  for (const char* file : {"0-input.png", "1-Smooth.png", "2-Contrast.png", "output.png"})
    EXPECT_TRUE(fs::is_regular_file(dir_ / "out" / file)) << file;

  ASSERT_EQ(lumxip("demo --write-sample a.pgm").exitCode, 0);
  ASSERT_EQ(lumxip("demo --write-sample b.pgm").exitCode, 0);
  EXPECT_EQ(pgmPixels(dir_ / "a.pgm"), pgmPixels(dir_ / "b.pgm")) << "the sample is deterministic";
}

TEST_F(LumxipCli, ExecRunsEveryRegisteredOperatorOnASmallImage) {
  writePgm("small.pgm", 24, 16, [](int x, int y) { return (x * 7 + y * 13) % 256; });
  const Outcome list = lumxip("list");
  ASSERT_EQ(list.exitCode, 0) << list.err;
  std::istringstream lines(list.out);
  int operators = 0;
  for (std::string progId, kind; lines >> progId >> kind;) {
    std::string rest;
    std::getline(lines, rest);
    if (kind != "operator") continue;
    ++operators;
    if (progId == "Halvex.LumIPOneImageMissingPixel") {
      // It repairs range images only: a grey input is refused with a clear code.
      const Outcome refused = lumxip("exec " + progId + " --input small.pgm --json");
      EXPECT_EQ(refused.exitCode, 1);
      EXPECT_EQ(nlohmann::json::parse(refused.out)["hresult"], "0x8004E105");
      continue;
    }
    const Outcome exec = lumxip("exec " + progId + " --input small.pgm -o out.pgm --json");
    ASSERT_EQ(exec.exitCode, 0) << progId << ": " << exec.out << exec.err;
    const auto report = nlohmann::json::parse(exec.out);
    EXPECT_EQ(report["hresult"], "0x00000000") << progId;
    EXPECT_EQ(report["output"], "out.pgm") << progId;
    EXPECT_GT(report["results"]["Width"].get<int>(), 0) << progId;
    EXPECT_TRUE(fs::is_regular_file(dir_ / "out.pgm")) << progId;
    fs::remove(dir_ / "out.pgm");
  }
  EXPECT_GE(operators, 5);

  // A result object's images go into the directory -o names.
  const Outcome edges = lumxip("exec Halvex.LumSobelEdge --input small.pgm -o edges --json");
  ASSERT_EQ(edges.exitCode, 0) << edges.out << edges.err;
  for (const char* file :
       {"EdgeAngleImage.png", "EdgeMagnitudeImage.png", "FinalMagnitudeImage.png"})
    EXPECT_TRUE(fs::is_regular_file(dir_ / "edges" / file)) << file;
}

TEST_F(LumxipCli, ExecPrintsEveryHistogramStatisticAndTheBins) {
  writePgm("two.pgm", 2, 1, [](int x, int) { return x == 0 ? 3 : 7; });
  const Outcome run = lumxip("exec Halvex.LumHistogram --input two.pgm --json");
  ASSERT_EQ(run.exitCode, 0) << run.out << run.err;
  const auto results = nlohmann::json::parse(run.out)["results"];
  EXPECT_EQ(results["NumSamples"], 2);
  EXPECT_EQ(results["Mean"], 5.0);
  EXPECT_EQ(results["Median"], 7);
  EXPECT_EQ(results["Variance"], 8.0);
  ASSERT_EQ(results["Histogram"].size(), 256u);
  EXPECT_EQ(results["Histogram"][3], 1);
}

TEST_F(LumxipCli, ExecSetsPropertiesByNameWithEnumerationNamesAndReportsRefusals) {
  writePgm("grey.pgm", 4, 2, [](int, int) { return 100; });
  // 100 * 3 = 300 wraps to 44 when the overflow mode is named Wrap.
  const Outcome wrapped = lumxip(
      "exec Halvex.LumIPOneImageMultiplyConstant --set ConstantValue=3 "
      "--set OverflowMode=lumIPOneImageMultiplyConstantOverflowModeWrap --input grey.pgm -o w.pgm");
  ASSERT_EQ(wrapped.exitCode, 0) << wrapped.err;
  EXPECT_EQ(pgmPixels(dir_ / "w.pgm").front(), 44);

  const Outcome refused = lumxip(
      "exec Halvex.LumIPOneImageMultiplyConstant --set ConstantValue=-1 --input grey.pgm --json");
  EXPECT_EQ(refused.exitCode, 1);
  const auto report = nlohmann::json::parse(refused.out);
  EXPECT_EQ(report["hresult"], "0x80070057");
  EXPECT_NE(report["description"].get<std::string>().find("ConstantValue"), std::string::npos)
      << report.dump();
  EXPECT_TRUE(report["output"].is_null());

  const Outcome mismatch = lumxip(
      "exec Halvex.LumIPOneImageMultiplyConstant --set OverflowMode=sideways --input grey.pgm "
      "--json");
  EXPECT_EQ(mismatch.exitCode, 1);
  EXPECT_EQ(nlohmann::json::parse(mismatch.out)["hresult"], "0x80020005") << "type mismatch";
}

TEST_F(LumxipCli, RunOverAFolderReportsADamagedImageAndFinishesTheRest) {
  ASSERT_EQ(lumxip("new Halvex.LumIPOneImageTool --add Halvex.LumIPOneImageAddSubtractConstant "
                   "--set 'Operators.Item(0).ConstantValue=5' -o job.json")
                .exitCode,
            0);
  fs::create_directories(dir_ / "in");
  writePgm("in/a.pgm", 8, 8, [](int, int) { return 10; });
  writePgm("in/c.pgm", 8, 8, [](int, int) { return 20; });
  std::ofstream(dir_ / "in" / "b.pgm", std::ios::binary) << "P5\n8 8\n255\nshort";

  const Outcome run = lumxip("run job.json --input in -o out --json");
  EXPECT_EQ(run.exitCode, 1) << "one image failed";
  const auto report = nlohmann::json::parse(run.out);
  EXPECT_EQ(report["count"], 3);
  EXPECT_EQ(report["failures"], 1);
  EXPECT_NE(report["images"][1]["hresult"], "0x00000000");
  EXPECT_NE(run.err.find("b.pgm"), std::string::npos) << run.err;
  for (const char* name : {"a", "c"})
    EXPECT_TRUE(fs::is_regular_file(dir_ / "out" / (std::string(name) + ".OutputImage.png")))
        << name;
}

TEST_F(LumxipCli, UsageErrorsAndUnreadableFilesExitWithTwo) {
  writePgm("grey.pgm", 4, 2, [](int, int) { return 1; });
  for (const char* args : {"nonsense", "exec", "exec No.Such.Class --input grey.pgm",
                           "exec Halvex.LumIPOneImageMultiplyConstant --set NoValue",
                           "exec Halvex.LumIPOneImageMultiplyConstant --input missing.pgm",
                           "exec Halvex.LumIPOneImageMultiplyConstant --input grey.pgm "
                           "--region 1,2,3",
                           "run missing.job --input grey.pgm", "describe No.Such.Class"}) {
    const Outcome outcome = lumxip(args);
    EXPECT_EQ(outcome.exitCode, 2) << args << "\n" << outcome.err;
    EXPECT_FALSE(outcome.err.empty()) << args;
  }
}

}  // namespace
