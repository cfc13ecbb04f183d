// Mouse clicks and keystrokes for the script driver, injected with SendInput as the devices
// would deliver them, and a wait until the program has taken them all from its queue.
#pragma once

#include <windows.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

namespace vb {

class RealInput {
public:
    // window: the program's main window, brought to the front when no window of this thread is.
    explicit RealInput(std::function<HWND()> window);
    ~RealInput();
    RealInput(const RealInput&) = delete;
    RealInput& operator=(const RealInput&) = delete;

    enum class Button { Left, Right };
    // Moves the cursor to a point of the screen and clicks there, then waits as send() does.
    bool click(POINT screen, Button button = Button::Left);
    // Queue a key press and release (with modifier keys held around it), or typed characters.
    void key(WORD vk, std::initializer_list<WORD> held = {});
    void type(const std::wstring& text);
    // Sends what is queued, followed by a marker key, and handles the program's messages until
    // a message loop of this thread takes the marker: then every event before it has been
    // handled. False when the system would not take the input, when no window of the program
    // could be brought to the front, or when the marker never came: failure() says which.
    bool send();

    // Makes a window of this thread the foreground window, as a click on it would, and handles
    // messages until the system has made it so. Keys go to the thread in front at the moment
    // they are sent: sent otherwise, they reach another program or nothing.
    bool bringToFront();

    // Handles the program's messages until a person presses the Pause key, their signal that
    // the window is theirs no more. False when the program ended meanwhile.
    bool waitForSignal();

    const std::string& failure() const { return failure_; }

private:
    static LRESULT CALLBACK getMessageHook(int code, WPARAM wp, LPARAM lp);
    void keyEvent(WORD vk, WORD scan, DWORD flags);

    enum class Wait { Taken, LostFront, Failed };
    // Handles messages until the marker is taken, another window comes in front, or the wait
    // fails (failure() says why).
    Wait awaitMarker();
    bool clickOnce(POINT screen, Button button);
    void checkClick(MSG& msg);

    std::function<HWND()> window_;
    std::string failure_;
    HHOOK hook_ = nullptr;
    std::vector<INPUT> queued_;
    bool markerTaken_ = false;
    bool inputSeen_ = false;  // a key or a button of the batch under way reached the program
    bool awaiting_ = false;
    bool signalled_ = false;
    // The click under way: its time stamp tells its button messages apart from any others.
    DWORD clickTime_ = 0;
    POINT clickAt_{};
    bool clickMissed_ = false;
    bool clickSeen_ = false;
    bool clickPending_ = false;
};

}  // namespace vb
