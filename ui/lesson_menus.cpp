#include "ui/lesson_menus.h"

namespace sol {

void AddLessonMenus(Menu& bar, const std::function<void(int lessonMode)>& open) {
  struct Category {
    const char16_t* title;
    char16_t accessKey;
    const char* lectureName;
    const char16_t* lecture;
    const char* registerName;
    const char16_t* registration;
    int lectureMode;
  };
  static const Category categories[] = {
      {u"定石", u'J', "メニュー定石講座", u"定石講座", "メニュー定石登録", u"定石登録", 7},
      {u"手筋", u'S', "メニュー手筋講座", u"手筋講座", "メニュー手筋登録", u"手筋登録", 1},
      {u"ヨセ", u'Y', "メニューヨセ講座", u"ヨセ講座", "メニューヨセ登録", u"ヨセ登録", 3},
      {u"詰碁", u'M', "メニュー詰碁講座", u"詰碁講座", "メニュー詰碁登録", u"詰碁登録", 5},
  };
  for (const Category& c : categories) {
    Menu& m = bar.Add("", c.title, c.accessKey);
    const int mode = c.lectureMode;
    m.Add(c.lectureName, c.lecture).OnClick = [open, mode] { open(mode); };
    m.Add(c.registerName, c.registration).OnClick = [open, mode] { open(mode + 1); };
  }
}

}  // namespace sol
