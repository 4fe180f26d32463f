# The windows show the icons the desktop menu shows (data/icons): each program embeds its own as a
# Qt resource under :/icons/.
function(corvane_add_window_icon target app)
    set(files)
    foreach(size 16 32 48 256)
        list(APPEND files ${PROJECT_SOURCE_DIR}/data/icons/${app}-${size}.png)
    endforeach()
    qt_add_resources(${target} ${target}_icon PREFIX /icons BASE ${PROJECT_SOURCE_DIR}/data/icons FILES ${files})
endfunction()
