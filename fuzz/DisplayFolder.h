// A display folder whose four files are fixed except the one a target fuzzes.
#pragma once

#include <string>

#include "FuzzSupport.h"

namespace fuzzing {

// Writes the fixed files of a small display folder "Display/" except `except` (a file name of
// the folder), and two edit-view files that "PropertyLocShow.xml" names. Returns the folder.
inline CString WriteDisplayFolder(const std::string& except) {
    const CString folder = EmptyScratchFolder("Display");
    auto write = [&](const std::string& name, const char* text) {
        if (name != except) WriteScratch("Display/" + name, text);
    };
    write("ItemTemplate.xml",
          "<Items><Item id=\"1\"><Name>Length</Name><Variable>Length</Variable></Item></Items>");
    write("GridTemplate.xml",
          "<PropEditView><GridShow><Main><Item id=\"1\"/><Item><Name>n</Name></Item></Main>"
          "</GridShow><Container name=\"K\"><Listener name=\"X_Main\" data=\"9\"/></Container>"
          "</PropEditView>");
    write("PropertyLocShow.xml",
          "<UI><PropDefineShow><Loc>\\基本构件\\墙</Loc><Loc>\\基本构件\\梁</Loc></PropDefineShow>"
          "<SectionSelect><Loc loc=\"\\基本构件\\墙\">\\基本构件\\墙;\\基本构件\\梁</Loc>"
          "</SectionSelect><Properties><Property clsname=\"Wall\"><Kind kd=\"linear\"/></Property>"
          "</Properties><ViewParam>Length;Width</ViewParam><MeterParam>Length</MeterParam>"
          "<PropEditView><View view=\"wall.xml\" typeandsection=\"Wall\" loc=\"\\基本构件\\墙\"/>"
          "<View view=\"beam.xml\" typeandsection=\"Beam;Wall\" loc=\"\"/></PropEditView>"
          "<View3DMode><ViewMode name=\"View3D\" clsname=\"Wall;Beam\"/></View3DMode></UI>");
    write("EnableContainer.xml",
          "<Containers><Container name=\"K\"><Listener name=\"X_Main\" data=\"1\"/><Listener "
          "name=\"Y\" data=\"2\"/></Container><Container name=\"L\"/></Containers>");
    write("wall.xml",
          "<PropEditView><MarkShow><View3D markclass=\"A;B\"/></MarkShow><GridShow><Main "
          "ref=\"1\"><Item id=\"1\"/></Main></GridShow><Container name=\"K\"><Listener "
          "name=\"Y\" data=\"7\"/></Container></PropEditView>");
    write("beam.xml", "<PropEditView><Container name=\"L\"/></PropEditView>");
    return folder;
}

}  // namespace fuzzing
