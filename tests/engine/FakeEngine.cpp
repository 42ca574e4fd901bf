// A scripted stand-in for a UCI engine. Usage: varnock_fake_engine SCRIPT LOG
//
// Every byte received on standard input is appended to LOG as it arrives.
// SCRIPT holds sections of actions: "start:" runs at once, "on WORD:" runs
// for every received line whose first word is WORD. Actions, one a line:
//   send TEXT      TEXT and a newline (\r \n \t \\ are escapes)
//   raw TEXT       TEXT alone, written at once (to split lines mid-way)
//   sleep MS
//   long N TEXT    TEXT padded with 'x' to N characters, and a newline
//   flood N TEXT   N lines of TEXT as fast as the pipe takes them; "#" in
//                  TEXT becomes the line's number
//   exit CODE      ends the program
//   crash          the program kills itself
//   hang           stops reading and answering, for good
//   ignore-term    SIGTERM is ignored from now on
//   child          starts a child that stays behind in the process group
// Without an "on quit:" section, "quit" ends the program; so does the end of
// standard input. Sections of the same name add up.
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>
#include <thread>
#include <vector>

namespace {

int logFd = -1;

void WriteAll(const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    ssize_t n = write(1, text.data() + done, text.size() - done);
    if (n <= 0) std::exit(1);
    done += static_cast<std::size_t>(n);
  }
}

std::string Unescape(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 1 < text.size()) {
      char c = text[++i];
      out += c == 'r' ? '\r' : c == 'n' ? '\n' : c == 't' ? '\t' : c;
    } else {
      out += text[i];
    }
  }
  return out;
}

std::pair<std::string, std::string> Split(const std::string& line) {
  std::size_t space = line.find(' ');
  if (space == std::string::npos) return {line, ""};
  return {line.substr(0, space), line.substr(space + 1)};
}

void Run(const std::vector<std::string>& actions) {
  for (const std::string& action : actions) {
    auto [verb, rest] = Split(action);
    if (verb == "send") {
      WriteAll(Unescape(rest) + "\n");
    } else if (verb == "raw") {
      WriteAll(Unescape(rest));
    } else if (verb == "sleep") {
      std::this_thread::sleep_for(std::chrono::milliseconds(std::atoi(rest.c_str())));
    } else if (verb == "long") {
      auto [count, text] = Split(rest);
      std::string line = Unescape(text);
      line.resize(static_cast<std::size_t>(std::atoi(count.c_str())), 'x');
      WriteAll(line + "\n");
    } else if (verb == "flood") {
      auto [count, text] = Split(rest);
      const int lines = std::atoi(count.c_str());
      std::string block;
      for (int i = 1; i <= lines; ++i) {
        std::string line = Unescape(text);
        for (std::size_t at; (at = line.find('#')) != std::string::npos;) line.replace(at, 1, std::to_string(i));
        block += line + "\n";
        if (block.size() > 60000) WriteAll(block), block.clear();
      }
      WriteAll(block);
    } else if (verb == "exit") {
      std::exit(std::atoi(rest.c_str()));
    } else if (verb == "crash") {
      kill(getpid(), SIGKILL);
    } else if (verb == "hang") {
      for (;;) pause();
    } else if (verb == "ignore-term") {
      signal(SIGTERM, SIG_IGN);
    } else if (verb == "child") {
      if (fork() == 0) {
        signal(SIGTERM, SIG_IGN);
        for (int fd = 0; fd < 3; ++fd) close(fd);
        for (;;) pause();
      }
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s SCRIPT LOG\n", argv[0]);
    return 2;
  }
  std::map<std::string, std::vector<std::string>> sections;
  std::ifstream script(argv[1]);
  std::string line, section;
  while (std::getline(script, line)) {
    std::size_t start = line.find_first_not_of(" \t");
    if (start == std::string::npos || line[start] == '#') continue;
    line = line.substr(start);
    if (line == "start:") {
      section = "";
    } else if (line.rfind("on ", 0) == 0 && line.back() == ':') {
      section = line.substr(3, line.size() - 4);
    } else {
      sections[section].push_back(line);
    }
  }
  logFd = open(argv[2], O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  if (logFd < 0) return 2;

  Run(sections[""]);
  std::string pending;
  char buffer[4096];
  for (;;) {
    ssize_t got = read(0, buffer, sizeof buffer);
    if (got <= 0) return 0;
    if (write(logFd, buffer, static_cast<std::size_t>(got)) != got) return 2;
    pending.append(buffer, static_cast<std::size_t>(got));
    for (std::size_t end; (end = pending.find('\n')) != std::string::npos;) {
      std::string received = pending.substr(0, end);
      pending.erase(0, end + 1);
      if (!received.empty() && received.back() == '\r') received.pop_back();
      const std::string word = Split(received).first;
      auto rule = sections.find(word);
      if (rule != sections.end()) {
        Run(rule->second);
      } else if (word == "quit") {
        return 0;
      }
    }
  }
}
