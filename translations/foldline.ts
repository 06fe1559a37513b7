<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" sourcelanguage="en">
<context>
    <name>CAboutDlg</name>
    <message>
        <source>About Quillary Foldline</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quillary Foldline Version 1.1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Builds navigation menus for web pages whose sub-menus slide open beneath the item that owns them.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copyright (C) Velloran. All rights reserved.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Web:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tech Support:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Postal Mail:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CConfigCommands</name>
    <message>
        <source>Edit Lin&amp;k</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Find...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Cut</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>C&amp;opy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Insert Menu/Item</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Visible</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move &amp;Up</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move Do&amp;wn</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Insert &amp;After</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rena&amp;me</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>U&amp;ndo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cut</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>copy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Paste</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Insert a item</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete the item</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move up</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move down</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Insert After</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Menus at the Same Depth</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sub-menus Below This One</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All Menus</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Apply &amp;Look To</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CDataExchange</name>
    <message>
        <source>Please enter an integer.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please enter an integer between %1 and %2.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CDlgAnimateSpeed</name>
    <message>
        <source>Fastest</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Slowest</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Furlin Animate Speed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Menu Open Speed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Menu Close Speed</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CDlgAppletBackground</name>
    <message>
        <source>Appelt Background Style</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fullfilled with Color</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Vertical Gradient from Black to Color</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Vertical Gradient from White to Color</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Vertical Gradient from Color to Black</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Vertical Gradient from Color to White</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Applet&apos;s Background Style:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CDlgAppletParam</name>
    <message>
        <source>Applet Parameters</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Center</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Left</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Right</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Name:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Align:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Applet</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Web Path:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose the applet class file&apos;s web folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Width:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Height:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Background</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Color:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Audio:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose the background audio file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Image:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose the background image file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Display Image</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Specify Position</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tile</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>X Pos:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Y Pos:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CDlgAppletStyle</name>
    <message>
        <source>More Styles</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show Selection Always</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Display All Branchs</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Has Lines</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>With Progress Bar</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Menu Display From(Y Value):</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Global Properties</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tree Line</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Color:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Thick:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Indent:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Animate Speed ...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Background Style ...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Loading Message</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Message:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Today&apos;s Browsers</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fixed Box</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Automatic</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Left to Right</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Right to Left</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Compact Below:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Direction:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CDlgAudio</name>
    <message>
        <source>Audio</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mouse Over:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Click:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose the %1 audio file</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CDlgBrowseFiles</name>
    <message>
        <source>Browse Files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Files Existing in the Destination Directory:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The directory and file type can not be blank!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Directory %1 does not exist!</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CDlgCheckLinks</name>
    <message>
        <source>Check Links</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Links:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Item</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Link</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reason</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Check &amp;Web Links</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Double-click to open this item in the configuration dialog</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Broken links: %1. Pages not in the menu: %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The check of the web links was stopped before it asked them all.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CDlgConfig</name>
    <message>
        <source>Discard</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Keep Editing</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Discard the changes made in this dialog?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Menu tree</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No properties for the Top-level Foldline!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Live Preview</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CDlgCopyResources</name>
    <message>
        <source>Destination Directory: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy Resources</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Destination File Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Resource File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Browse ...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rename</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>These files&apos; names have already been used in the destination directory. If you don&apos;t rename the destination file&apos;s name, the files with same name will be overwritten.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please select a file to rename first!</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CDlgFont</name>
    <message>
        <source>Font</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Normal</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Outline</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sunken</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bulge</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>With Shadow</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Font Name:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Font Color:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Font Size:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Special Effects:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Font Style</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Plain</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bold</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Italic</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CDlgGetLocalHtml</name>
    <message>
        <source>Get Local HTML</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Current Preview Path:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CDlgImage</name>
    <message>
        <source>Image</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Normal:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mouse Over:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Click:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose the %1 image file</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CDlgItem</name>
    <message>
        <source>General</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Item Label:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Description:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Link to:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Target Frame:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Image...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Audio...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You can specify the image to display for each states of the item:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You can specify the audio to play for each states of the item:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CDlgItemClick</name>
    <message>
        <source>Clicked</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CDlgItemMouseOver</name>
    <message>
        <source>Mouse Over</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CDlgItemNormal</name>
    <message>
        <source>Normal</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CDlgItemState</name>
    <message>
        <source>Text alignment</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Image alignment</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Left</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Center</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Right</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Transparent </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fullfilled with Color</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Horizontal Gradient from Black to Color</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Horizontal Gradient from White to Color</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Horizontal Gradient from Color to Black</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Horizontal Gradient from Color to White</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Vertical Gradient from Black to Color</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Vertical Gradient from White to Color</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Vertical Gradient from Color to Black</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Vertical Gradient from Color to White</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Background Color:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Font...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Align</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Text:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Text Offset:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Image:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Image Offset:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Item&apos;s Background:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CDlgManageTemplates</name>
    <message>
        <source>Manage Templates</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rename</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Templates List:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Manage templates failure!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please select a template first!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Are you sure to delete &quot;%1&quot; template?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete Failure!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The %1 template has been there,please give a new name!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Are you sure to rename &quot;%1&quot; template to &quot;%2&quot;?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rename Failure!</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CDlgMenuStyle</name>
    <message>
        <source>Size</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Apply Look To...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Transparent and without Border</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Transparent and with Border</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fullfilled Color and without Border</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fullfilled Color and with Border</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Indent of Menu:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Size of the item</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Item Width:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Item Height:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Item Border Thick:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Item Gaps:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Background Style:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Background Color:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy this menu&apos;s sizes and looks to other menus of the widget</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CDlgNew</name>
    <message>
        <source>New </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select a Template:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CDlgRename</name>
    <message>
        <source>Rename</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Name:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Description:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CDlgSaveAsTemplate</name>
    <message>
        <source>Save as Template</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Widget&apos;s parameters will stored in:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Existing Templates:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save as template failure!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is already exist.Please enter a new template name.
</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CDlgStateFiles</name>
    <message>
        <source>Apply to</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Only This Item</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All the Items in the Same Menu</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All the Items</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CDlgWebBrowser</name>
    <message>
        <source>Web Browser</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Use default browser</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose from known browsers</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>User specified browser</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Known browsers</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose the execute file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Execute File:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Web Browser(*.EXE)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You must specify the web browser&apos;s execute file!</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CFindBar</name>
    <message>
        <source>Find a label or link</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Find in the menu tree</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No match</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CFoldline</name>
    <message>
        <source>Cannot publish to %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot check the links against %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot make a menu from %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot import %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CLinkColumn</name>
    <message>
        <source>Link</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CLivePreview</name>
    <message>
        <source>Phone</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tablet</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Full</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Right to Left</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Live preview</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The preview&apos;s render process crashed (exit code %1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The preview&apos;s render process was killed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The preview&apos;s render process ended abnormally (exit code %1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The preview&apos;s render process ended.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Live preview is not available.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The web engine&apos;s helper program %1 was not found.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The widget&apos;s runtime %1 was not found.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The web engine did not answer.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The preview page could not be loaded.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The widget&apos;s runtime %1 did not start.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The preview&apos;s web channel did not start.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CMainFrame</name>
    <message>
        <source>New from Site &amp;Folder...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Create a new widget whose menu follows a site&apos;s folders</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Publish to Site...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Put the menu into every page of a site that marks its place</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export Menu as &amp;JSON...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Write the menu tree to a JSON file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Import Menu from JSON...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Replace the menu tree by that of a JSON file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Chec&amp;k Links...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Check the menu&apos;s links against a site folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CAP</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>NUM</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SCRL</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Caps Lock</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Num Lock</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Scroll Lock</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;New...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Create a new document</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Open...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open an existing document</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save the active document</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save &amp;As...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save the active document with a new name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save As</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save as &amp;Template...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save the document as a template</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save as Template</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Copy Support Files to...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy the files using by the widget to a specified directory</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quit the application; prompts to save documents</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Exit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Configure ...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Configure the widget to fit your requirment</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Configure</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Re&amp;name ...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Give the widget a new name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rename</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Get &amp;Local HTML ...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Change the HTML according to the files&apos; local relative directory</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Get &amp;Web HTML</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Change the HTML according to the files&apos; web path</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Get &amp;Modern HTML</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Change the HTML to the form that today&apos;s browsers run</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pre&amp;view</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Preview the widget</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Preview</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Preview in &amp;Modern Browser</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Preview the widget as today&apos;s browsers show it</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Option</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Web Browser...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Specify your favorite web browser</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Template...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Manage the templates</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Use HTML for Today&apos;s Browsers</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show and preview the HTML that today&apos;s browsers run instead of the applet&apos;s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Toolbar</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show or hide the toolbar</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Toggle ToolBar</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Status Bar</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show or hide the status bar</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Toggle StatusBar</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Live Preview</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show or hide the widget as today&apos;s browsers draw it</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Help Topics</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>List Help topics</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Help Topics</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Tutorial</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tutorial to guide you working</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Search for Help on ...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Search the keyword</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;View Sample</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>View this widget&apos;s sample</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Frequently Asked Questions</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>User frequently asked questions</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;About Quillary Foldline...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>More menus</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>More tools</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The widget component failed (%1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open this document</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Standard</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Live Preview</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>For Help, press F1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CNodeEdits</name>
    <message numerus="yes">
        <source>Are you sure to delete these %n nodes and everything under them?</source>
        <translation type="unfinished">
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>Are you sure to delete this top-level Foldline?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Are you sure to delete this item and it&apos;s sub menu?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Are you sure to delete this item?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Can&apos;t delete root!</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CQuillaryToolApp</name>
    <message>
        <source>OLE initialization failed.  Make sure that the OLE libraries are the correct version.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not a regular file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot open %1.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CQuillaryToolDoc</name>
    <message>
        <source>Save As...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Overwrite</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 was changed by another program since you opened it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not a widget file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a widget file of %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is damaged: %2.

What could be read is open. The next Save asks for a file name, so the damaged file stays as it is unless you choose it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All Files (*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save changes to %1?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save As</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Create the dispatch of the %1 Error!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open %1 Error!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This File is not saved by %1!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save to %1 Error!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save as the template success!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save as the template failure!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose a directory</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy support files to %1 success!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy support files to %1 failure!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quillary Widgets File(*.tsl) </source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CQuillaryToolView</name>
    <message>
        <source>Name:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Description:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You must copy these files into the preview path you setting:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Insert these HTML into &lt;HEAD&gt;&lt;/HEAD&gt;:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Insert these HTML into the position where you want to display widget:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Support files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Source File Path</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Web Path</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CTemplateDialogs</name>
    <message>
        <source>Name:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Description:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CTessel</name>
    <message>
        <source>Create Dispatch of the %1 Error!</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CWebPathFileDialog</name>
    <message>
        <source>Image Files(*.GIF,*.JPG.*.JPEG)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Audio Files(*.au)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Java Class(*.Class)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Web Path:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>NameRule</name>
    <message>
        <source>You must enter a name!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The name of widget is not valid.It accept only alphanumeric characters.
You have entered an invalid character, such as &apos;-&apos;, &apos;_&apos;, &apos;:&apos;, &apos;;&apos;, &apos;#&apos;, (), [], or ?, in the name.
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The template name of widget is not valid.It accept only alphanumeric characters.
You have entered an invalid character, such as &apos;-&apos;, &apos;_&apos;, &apos;:&apos;, &apos;;&apos;, &apos;#&apos;, (), [], or ?, in the name.
</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PageLayout</name>
    <message>
        <source>Gradient Direction</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Single Direction</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bi-direction</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Border</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Plain</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Raised</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sunken</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SiteCommandLine</name>
    <message>
        <source>Open %1 Error!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot write %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot create the widget component %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot use the classes root.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SiteCommands</name>
    <message>
        <source>... and %1 more</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>JSON Files (*.json)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All Files (*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Publish to Site</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Publish the menu into the pages of %1?

%2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New from Site Folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export Menu as JSON</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Import Menu from JSON</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The widget&apos;s menus will be replaced by those of %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Check Links</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Checking web links...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 already exists.
Do you want to replace it?</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SiteLinks</name>
    <message>
        <source>no answer within %1 s</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>host</name>
    <message>
        <source>No folder for the preview could be created.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>These support files could not be copied:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quillary Foldline ended without saving this work:
%1

Recover opens it as unsaved work; Discard deletes it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recover</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Discard</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Preview Failure!</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
