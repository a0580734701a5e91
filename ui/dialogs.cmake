# ui_dialogs: modal forms, the tree view control and the image list it draws its icons from.
pelorin_library(ui_dialogs WIN32_ONLY
  SOURCES ImageList.cpp TreeView.cpp ModalForm.cpp
  LIBS ui user32 gdi32)
