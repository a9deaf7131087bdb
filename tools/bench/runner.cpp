// Times the conversion of one benchmark backup against the baseline of writing
// as many bytes, and prints one line with the medians, their ratio and the
// conversion's peak resident memory.
//
//   brimlow_bench_runner LABEL FOLDER CONVERTER BASELINE RUNS MAX_RATIO MAX_RSS_MIB
//
// The converter runs in FOLDER with standard input and output on /dev/null;
// the baseline (brimlow_bench_baseline) runs in the same folder and writes the
// sizes of the three files that the conversion left. Each program runs once
// untimed first, so that every timed run replaces files of its own size, and
// the disk is synced before each timed run, so that no run pays for the
// write-back of the one before.

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

const char *const kOutputs[3] = {"Brimlow_C.csv", "Brimlow_S.csv", "Brimlow_T.tsv"};

struct Measurement {
  bool succeeded = false;
  double seconds = 0.0;
  double cpuSeconds = 0.0; // user and system
  long peakKibibytes = 0;
};

double secondsOf(const timeval &time) {
  return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) * 1e-6;
}

double now() {
  timespec time{};
  clock_gettime(CLOCK_MONOTONIC, &time);
  return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_nsec) * 1e-9;
}

[[noreturn]] void execInFolder(const std::string &folder, const std::vector<std::string> &argv) {
  int devNull = open("/dev/null", O_RDWR);
  if (chdir(folder.c_str()) != 0 || devNull < 0 || dup2(devNull, 0) < 0 || dup2(devNull, 1) < 0) {
    _exit(126);
  }
  std::vector<char *> args;
  for (const std::string &arg : argv) {
    args.push_back(const_cast<char *>(arg.c_str()));
  }
  args.push_back(nullptr);
  execv(args[0], args.data());
  _exit(127);
}

Measurement measure(const std::string &folder, const std::vector<std::string> &argv) {
  Measurement result;
  double start = now();
  pid_t pid = fork();
  if (pid < 0) {
    return result;
  }
  if (pid == 0) {
    execInFolder(folder, argv);
  }
  int status = 0;
  rusage usage{};
  pid_t waited = 0;
  do {
    waited = wait4(pid, &status, 0, &usage);
  } while (waited < 0 && errno == EINTR);
  result.seconds = now() - start;
  result.cpuSeconds = secondsOf(usage.ru_utime) + secondsOf(usage.ru_stime);
  result.peakKibibytes = usage.ru_maxrss;
  result.succeeded = waited == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
  return result;
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  std::size_t middle = values.size() / 2;
  return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// The sizes of the conversion's three files; empty when one is missing.
std::vector<std::string> outputSizes(const std::string &folder, unsigned long long &total) {
  std::vector<std::string> sizes;
  total = 0;
  for (const char *name : kOutputs) {
    struct stat status {};
    if (stat((folder + "/" + name).c_str(), &status) != 0) {
      return {};
    }
    sizes.push_back(std::to_string(status.st_size));
    total += static_cast<unsigned long long>(status.st_size);
  }
  return sizes;
}

struct Options {
  std::string label;
  std::string folder;
  std::string converter;
  std::string baseline;
  int runs = 0;
  double maxRatio = 0.0;
  double maxPeakMebibytes = 0.0;
};

bool parse(int argc, char **argv, Options &options) {
  if (argc != 8) {
    return false;
  }
  namespace fs = std::filesystem;
  std::error_code error;
  options.label = argv[1];
  options.folder = fs::absolute(argv[2], error).string();
  options.converter = fs::absolute(argv[3], error).string();
  options.baseline = fs::absolute(argv[4], error).string();
  options.runs = std::atoi(argv[5]);
  options.maxRatio = std::atof(argv[6]);
  options.maxPeakMebibytes = std::atof(argv[7]);
  return !error && options.runs > 0;
}

int fail(const Options &options, const char *what) {
  std::fprintf(stderr, "%s: %s failed in %s\n", options.label.c_str(), what,
               options.folder.c_str());
  return 1;
}

} // namespace

int main(int argc, char **argv) {
  Options options;
  if (!parse(argc, argv, options)) {
    std::fprintf(stderr, "usage: %s LABEL FOLDER CONVERTER BASELINE RUNS MAX_RATIO MAX_RSS_MIB\n",
                 argv[0]);
    return 2;
  }
  std::vector<std::string> conversion = {options.converter};
  if (!measure(options.folder, conversion).succeeded) {
    return fail(options, "the conversion");
  }
  unsigned long long totalBytes = 0;
  std::vector<std::string> baseline = outputSizes(options.folder, totalBytes);
  if (baseline.empty()) {
    return fail(options, "the conversion's output");
  }
  baseline.insert(baseline.begin(), options.baseline);
  if (!measure(options.folder, baseline).succeeded) {
    return fail(options, "the baseline");
  }

  std::vector<double> conversionSeconds;
  std::vector<double> baselineSeconds;
  std::vector<double> conversionCpu;
  std::vector<double> baselineCpu;
  long peakKibibytes = 0;
  for (int run = 0; run < options.runs; ++run) {
    sync();
    Measurement converted = measure(options.folder, conversion);
    sync();
    Measurement written = measure(options.folder, baseline);
    if (!converted.succeeded || !written.succeeded) {
      return fail(options, "a timed run");
    }
    conversionSeconds.push_back(converted.seconds);
    baselineSeconds.push_back(written.seconds);
    conversionCpu.push_back(converted.cpuSeconds);
    baselineCpu.push_back(written.cpuSeconds);
    peakKibibytes = std::max(peakKibibytes, converted.peakKibibytes);
  }

  double conversionMedian = median(conversionSeconds);
  double baselineMedian = median(baselineSeconds);
  double ratio = conversionMedian / baselineMedian;
  double peakMebibytes = static_cast<double>(peakKibibytes) / 1024.0;
  bool met = ratio <= options.maxRatio && peakMebibytes <= options.maxPeakMebibytes;
  // The processor times show what the programs did when other work on the
  // machine stretches the wall-clock times.
  std::printf("%-8s %6.1f MB written; median of %d: conversion %7.1f ms, baseline %7.1f ms, "
              "ratio %.2f (at most %.2f); peak RSS %.1f MiB (at most %.0f): %s "
              "[cpu %.1f / %.1f ms]\n",
              (options.label + ":").c_str(), static_cast<double>(totalBytes) / 1e6, options.runs,
              conversionMedian * 1e3, baselineMedian * 1e3, ratio, options.maxRatio, peakMebibytes,
              options.maxPeakMebibytes, met ? "met" : "MISSED", median(conversionCpu) * 1e3,
              median(baselineCpu) * 1e3);
  return 0;
}
