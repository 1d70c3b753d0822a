# The main window's list on a folder of 10,000 notes: filling and sorting it, and a search over
# them, next to merely walking the same notes. Needs the desktop program's libraries (Qt).
if(TARGET vq_ui)
  find_package(Qt6 REQUIRED COMPONENTS Core Gui Widgets)
  vq_bench(main_window
    SOURCES main_window_main.cpp main_window_list.cpp
    DEPS vq_ui vq_ui_controls vq_database vq_elements Qt6::Widgets)
endif()
