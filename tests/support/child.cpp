#include "support/child.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int kCapDacOverride = 1;
constexpr int kCapDacReadSearch = 2;

struct Pipe {
  int read = -1;
  int write = -1;
};

Pipe makePipe() {
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) {
    throw std::runtime_error("pipe failed");
  }
  return {fds[0], fds[1]};
}

// Feeds the child's input and drains its two outputs at the same time, so that
// no side waits on a full pipe.
void exchange(const std::string &input, Pipe in, Pipe out, Pipe err, ChildResult &result) {
  close(in.read);
  close(out.write);
  close(err.write);
  std::signal(SIGPIPE, SIG_IGN);
  std::size_t sent = 0;
  int inFd = in.write;
  if (input.empty()) {
    close(inFd);
    inFd = -1;
  }
  int openOutputs = 2;
  while (openOutputs > 0 || inFd >= 0) {
    pollfd fds[3] = {{out.read, POLLIN, 0}, {err.read, POLLIN, 0}, {inFd, POLLOUT, 0}};
    if (poll(fds, 3, -1) < 0) {
      if (errno == EINTR) {
        continue;
      }
      break;
    }
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd >= 0 && (fds[i].revents & (POLLIN | POLLHUP | POLLERR)) != 0) {
        char buffer[65536];
        ssize_t n = ::read(fds[i].fd, buffer, sizeof buffer);
        if (n > 0) {
          (i == 0 ? result.out : result.err).append(buffer, static_cast<std::size_t>(n));
        } else {
          close(fds[i].fd);
          (i == 0 ? out.read : err.read) = -1;
          --openOutputs;
        }
      }
    }
    if (inFd >= 0 && (fds[2].revents & (POLLOUT | POLLERR | POLLHUP)) != 0) {
      ssize_t n = ::write(inFd, input.data() + sent, input.size() - sent);
      if (n > 0) {
        sent += static_cast<std::size_t>(n);
      }
      if (n <= 0 || sent == input.size()) {
        close(inFd);
        inFd = -1;
      }
    }
  }
}

int waitFor(pid_t pid) {
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) {
      return -1;
    }
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Forks a child whose standard streams are the given pipe ends; the child runs
// body and never returns.
template <typename ChildBody>
pid_t forkWithStreams(int input, int output, int errors, const ChildBody &childBody) {
  std::fflush(nullptr);
  pid_t pid = fork();
  if (pid < 0) {
    throw std::runtime_error("fork failed");
  }
  if (pid == 0) {
    dup2(input, 0);
    dup2(output, 1);
    dup2(errors, 2);
    childBody();
    std::_Exit(127);
  }
  return pid;
}

template <typename ChildBody>
ChildResult runForked(const std::string &input, const ChildBody &childBody) {
  Pipe in = makePipe();
  Pipe out = makePipe();
  Pipe err = makePipe();
  pid_t pid = forkWithStreams(in.read, out.write, err.write, childBody);
  ChildResult result;
  exchange(input, in, out, err, result);
  result.exitStatus = waitFor(pid);
  return result;
}

} // namespace

ChildResult runInChild(const std::function<void()> &body) {
  return runForked("", [&] {
    body();
    std::fflush(nullptr);
    std::_Exit(0);
  });
}

namespace {

[[noreturn]] void execute(const ProgramRun &run) {
  std::vector<char *> argv;
  for (const std::string &arg : run.argv) {
    argv.push_back(const_cast<char *>(arg.c_str()));
  }
  argv.push_back(nullptr);
  if (!run.folder.empty() && chdir(run.folder.c_str()) != 0) {
    std::_Exit(126);
  }
  if (run.withoutFileOverride) {
    // Root ignores file permissions only through these two capabilities;
    // without them in the bounding set the program runs with plain rights.
    prctl(PR_CAPBSET_DROP, kCapDacOverride, 0, 0, 0);
    prctl(PR_CAPBSET_DROP, kCapDacReadSearch, 0, 0, 0);
  }
  execvp(argv[0], argv.data());
  std::_Exit(127);
}

} // namespace

ChildResult runProgram(const ProgramRun &run) {
  return runForked(run.input, [&] { execute(run); });
}

LiveProgram startProgram(const ProgramRun &run) {
  Pipe in = makePipe();
  Pipe out = makePipe();
  pid_t pid = forkWithStreams(in.read, out.write, out.write, [&] { execute(run); });
  close(in.read);
  close(out.write);
  std::signal(SIGPIPE, SIG_IGN);
  return LiveProgram{pid, in.write, out.read, -2};
}

void sendInput(LiveProgram &program, const std::string &bytes) {
  std::size_t sent = 0;
  while (sent < bytes.size()) {
    ssize_t n = ::write(program.input, bytes.data() + sent, bytes.size() - sent);
    if (n <= 0) {
      return;
    }
    sent += static_cast<std::size_t>(n);
  }
}

int exitStatusWithin(LiveProgram &program, int milliseconds) {
  for (int waited = 0;; waited += 10) {
    int status = 0;
    pid_t done = waitpid(program.pid, &status, WNOHANG);
    if (done == program.pid) {
      program.pid = -1;
      program.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
      return program.exitStatus;
    }
    if (waited >= milliseconds) {
      return -2;
    }
    usleep(10000);
  }
}

ChildResult finishProgram(LiveProgram &program) {
  ChildResult result;
  if (program.input >= 0) {
    close(program.input);
    program.input = -1;
  }
  char buffer[65536];
  for (ssize_t n; (n = ::read(program.output, buffer, sizeof buffer)) > 0;) {
    result.out.append(buffer, static_cast<std::size_t>(n));
  }
  close(program.output);
  program.output = -1;
  result.exitStatus = program.pid >= 0 ? waitFor(program.pid) : program.exitStatus;
  program.pid = -1;
  return result;
}
