// SPDX-License-Identifier: GPL-3.0-or-later

#include "sound/core/threadpriority.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <thread>
#include <unistd.h>

bool RaiseSoundThread(pid_t tid, int *before)
{
    // On Linux, PRIO_PROCESS with a thread's id sets that one thread.
    errno = 0;
    const int current = getpriority(PRIO_PROCESS, id_t(tid));
    if (current == -1 && errno != 0)
        return false;
    if (before)
        *before = current;
    if (current <= SoundThreadNice)
        return current < 0;
    if (setpriority(PRIO_PROCESS, id_t(tid), SoundThreadNice) == 0)
        return true;
    // Without the right, the limit still lets a user go as far as 20 - limit.
    rlimit limit = {};
    if (errno != EACCES && errno != EPERM)
        return false;
    if (getrlimit(RLIMIT_NICE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY)
        return false;
    const int floor = std::max(SoundThreadNice, 20 - int(std::min<rlim_t>(limit.rlim_cur, 40)));
    if (floor >= current)
        return false;
    return setpriority(PRIO_PROCESS, id_t(tid), floor) == 0 && floor < 0;
}

void RestoreThread(pid_t tid, int nice)
{
    setpriority(PRIO_PROCESS, id_t(tid), nice);
}

bool SoundThreadsCanBeRaised()
{
    bool raised = false;
    // A new thread takes this one's rights; its level ends with it.
    std::thread([&raised] { raised = RaiseSoundThread(CurrentThreadId()); }).join();
    return raised;
}

pid_t CurrentThreadId()
{
    return pid_t(syscall(SYS_gettid));
}

std::vector<pid_t> ThreadsNamed(const char *prefix)
{
    std::vector<pid_t> found;
    DIR *tasks = opendir("/proc/self/task");
    if (!tasks)
        return found;
    const size_t length = std::strlen(prefix);
    while (const dirent *entry = readdir(tasks)) {
        if (entry->d_name[0] < '0' || entry->d_name[0] > '9')
            continue;
        char path[300];
        std::snprintf(path, sizeof path, "/proc/self/task/%s/comm", entry->d_name);
        FILE *file = std::fopen(path, "re");
        if (!file)
            continue; // the thread ended meanwhile
        char name[32] = {};
        const bool read = std::fgets(name, sizeof name, file) != nullptr;
        std::fclose(file);
        if (read && std::strncmp(name, prefix, std::min(length, size_t(15))) == 0)
            found.push_back(pid_t(std::atoi(entry->d_name)));
    }
    closedir(tasks);
    return found;
}
