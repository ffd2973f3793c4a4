#include "tests/display/SkinDisplaySession.h"

#include "tests/display/support/TXSession.h"

namespace SkinDisplaySession {

std::string DisplayName()
{
    return SharedXSession().DisplayName();
}

void MovePointer(int x, int y)
{
    SharedXSession().MoveTo(x, y);
}

void Click(int x, int y)
{
    SharedXSession().MoveTo(x, y);
    SharedXSession().Click();
}

void Key(const std::string& keys)
{
    SharedXSession().Key(keys);
}

std::vector<uint32_t> Grab(int left, int top, int width, int height)
{
    return SharedXSession().Grab(left, top, width, height).Pixels;
}

bool WaitUntil(const std::function<bool()>& done, const std::function<void(std::chrono::milliseconds)>& step)
{
    return ::WaitUntil(done, step);
}

} // namespace SkinDisplaySession
