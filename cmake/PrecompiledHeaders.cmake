# Cross-compiled on two cores, most of each file's time goes on parsing the same Qt and
# standard headers again; a target given these parses them once. Off by default on
# Linux, where clang-tidy reads the same compile commands and cannot use GCC's
# precompiled headers.
option(TAPETOR_PRECOMPILED_HEADERS "Precompile the Qt and standard headers most files include"
       ${CMAKE_CROSSCOMPILING})

function(tapetor_precompile_headers target)
    if(NOT TAPETOR_PRECOMPILED_HEADERS)
        return()
    endif()
    target_precompile_headers(${target} PRIVATE
        <algorithm> <functional> <memory> <optional> <utility> <vector>
        <QtCore/QByteArray> <QtCore/QDateTime> <QtCore/QDir> <QtCore/QFile>
        <QtCore/QFileInfo> <QtCore/QObject> <QtCore/QString> <QtCore/QStringList>
        <QtCore/QTimer> <QtCore/QVariant> <QtGui/QImage> <QtGui/QPainter>
        <QtWidgets/QApplication> <QtWidgets/QCheckBox> <QtWidgets/QLabel>
        <QtWidgets/QLineEdit> <QtWidgets/QListWidget> <QtWidgets/QRadioButton>
        <QtWidgets/QWidget> ${ARGN})
endfunction()
