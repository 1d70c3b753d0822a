# Makes one help page from its source: the list of all pages, kept once in pages_nav.inc, goes
# in place of the source's "<!-- pages -->" line, with the page's own entry marked current.
#   cmake -DSOURCE=page.html -DNAV=pages_nav.inc -DOUTPUT=out/page.html -P HelpPage.cmake
file(READ "${NAV}" nav)
get_filename_component(page "${SOURCE}" NAME)
string(REPLACE "<a href=\"${page}\">" "<a href=\"${page}\" aria-current=\"page\">" nav "${nav}")
file(READ "${SOURCE}" text)
string(FIND "${text}" "<!-- pages -->\n" marker)
if(marker EQUAL -1)
  message(FATAL_ERROR "${SOURCE} has no \"<!-- pages -->\" line")
endif()
string(REPLACE "<!-- pages -->\n" "${nav}" text "${text}")
file(WRITE "${OUTPUT}" "${text}")
