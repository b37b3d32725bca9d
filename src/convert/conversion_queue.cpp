#include "convert/conversion_queue.h"

#include "platform/path_parts.h"

namespace quarnel::convert {

void ConversionQueue::append(ConversionJob job)
{
    std::lock_guard lock(queueLock);
    jobQueue.push_back(std::move(job));
}

void ConversionQueue::append(std::vector<ConversionJob> jobs)
{
    std::lock_guard lock(queueLock);
    for (ConversionJob &job : jobs)
        jobQueue.push_back(std::move(job));
}

std::optional<ConversionJob> ConversionQueue::first() const
{
    std::lock_guard lock(queueLock);
    if (jobQueue.empty())
        return std::nullopt;
    return jobQueue.front();
}

void ConversionQueue::removeFirst()
{
    std::lock_guard lock(queueLock);
    if (!jobQueue.empty())
        jobQueue.pop_front();
}

void ConversionQueue::clear()
{
    std::lock_guard lock(queueLock);
    jobQueue.clear();
}

size_t ConversionQueue::size() const
{
    std::lock_guard lock(queueLock);
    return jobQueue.size();
}

ConversionJob jobForDroppedFile(const std::string &path)
{
    return {path, platform::replaceExtension(path, ".doc")};
}

ConversionJob jobForFileInFolder(const std::string &path, const std::string &folder)
{
    return {path, platform::withTrailingSlash(folder) + platform::splitPath(path).name + ".doc"};
}

} // namespace quarnel::convert
