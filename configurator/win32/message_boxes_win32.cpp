#include <windows.h>

#include "configurator/seams/main_window_host.h"
#include "configurator/seams/message_boxes.h"

namespace quillon {

MessageAnswer ShowMessageBox(const std::string& text, const std::string& title, MessageIcon icon,
                             MessageButtons buttons) {
  UINT style = buttons == MessageButtons::YesNo ? MB_YESNO : MB_OK;
  style |= icon == MessageIcon::Critical   ? MB_ICONERROR
           : icon == MessageIcon::Question ? MB_ICONQUESTION
                                           : MB_ICONINFORMATION;
  int answer = MessageBoxA(static_cast<HWND>(MainWindowHandle()), text.c_str(), title.c_str(), style);
  if (buttons == MessageButtons::Ok) return MessageAnswer::Ok;
  return answer == IDYES ? MessageAnswer::Yes : MessageAnswer::No;
}

}  // namespace quillon
