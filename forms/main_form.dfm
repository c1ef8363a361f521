object Form1: TForm1
  Left = 192
  Top = 114
  BorderIcons = [biSystemMenu, biMinimize]
  BorderStyle = bsSingle
  Caption = 'The program for ajustment of radio station KORVAL 4M-30'
  ClientHeight = 511
  ClientWidth = 671
  Color = clBtnFace
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  Menu = MainMenu1
  Position = poDesktopCenter
  Scaled = False
  object RadioGroup1: TRadioGroup
    Left = 8
    Top = 0
    Width = 129
    Height = 129
    Caption = ' Ports '
    TabOrder = 1
    OnClick = RadioGroup1Click
  end
  object Label14: TLabel
    Left = 8
    Top = 136
    Width = 58
    Height = 13
    Caption = 'Rate RS232'
  end
  object ComboBox1: TComboBox
    Left = 8
    Top = 160
    Width = 129
    Height = 21
    Style = csDropDownList
    ItemHeight = 13
    ItemIndex = 0
    TabOrder = 4
    Items.Strings = (
      '4800'
      '9600'
      '19200')
  end
  object Button2: TButton
    Left = 8
    Top = 192
    Width = 129
    Height = 25
    Caption = 'Connection'
    TabOrder = 2
    OnClick = Button2Click
  end
  object Button3: TButton
    Left = 8
    Top = 224
    Width = 129
    Height = 25
    Caption = 'Read'
    Enabled = False
    TabOrder = 5
    OnClick = Button3Click
  end
  object Button6: TButton
    Left = 8
    Top = 256
    Width = 129
    Height = 25
    Hint = 'Будет реализовано в следующих версиях'
    Caption = 'Info'
    Enabled = False
    ShowHint = True
    TabOrder = 6
    OnClick = Button6Click
  end
  object ListBox1: TListBox
    Left = 8
    Top = 360
    Width = 121
    Height = 97
    ItemHeight = 13
    TabOrder = 7
    Visible = False
    Items.Strings = (
      'Working Range:'
      '33.000-39.975'
      '40.000-48.500'
      '57.000-57.500'
      'MHz'
      'Hz'
      'Error of reading Range litera'
      'Off'
      'Disconnect'
      'Connection with device succefully established'
      'Error. Port already open'
      'Error of port opening'
      'Error of port configuration'
      'Error port writing'
      'Error device connection'
      'Connection'
      'Connection with device broken'
      'Reading data from device'
      'Data block succefully read from device'
      'Error reading data block from device'
      'Writing channels data to device'
      'Error of connection with device'
      'Error writing data to device'
      '(channels)'
      '(ctcss rx)'
      '(ctcss tx)'
      'Error writing litera of Range'
      'Writing channels to device complete'
      'Writing options to device'
      'Error writing Volume'
      'Error writing Squelcher Level'
      'Error writing Level Deviation'
      'Error writing Speech level'
      'Error writing Gain on'
      'Error writing Level CTCSS on transfer'
      'Error writing Level CTCSS on reception'
      'Error writing of Level SQL'
      'Writing options to device complete'
      'Reset sequence transferred to device'
      'Error reset sequence transfer'
      'Reading device Info'
      'Input frequency'
      'of receive'
      'of transmit'
      '(channel #'
      'File with settings'
      'loaded succefully'
      'Error loading file of settins'
      'Error file opening!'
      'Warning!'
      'WARNING!'
      'Error file opening!'
      'File already exists. Rewrite?'
      'succefully rewroted'
      'Error of rewriting settings file'
      'succefully created'
      'Error creating settings file'
      'Rewrite file?'
      'Error writing file!'
      'Error reading file!'
      '66.000-88.000')
  end
  object Button1: TButton
    Left = 8
    Top = 480
    Width = 129
    Height = 25
    Caption = 'Exit'
    TabOrder = 0
    OnClick = Button1Click
  end
  object GroupBox1: TGroupBox
    Left = 144
    Top = 0
    Width = 521
    Height = 505
    Caption = ' Device setup '
    TabOrder = 3
    object PageControl1: TPageControl
      Left = 8
      Top = 16
      Width = 505
      Height = 297
      ActivePage = TabSheet1
      TabOrder = 1
      object TabSheet1: TTabSheet
        Caption = 'Channels'
        object Label1: TLabel
          Left = 8
          Top = 8
          Width = 39
          Height = 13
          Caption = 'Channel'
        end
        object Label2: TLabel
          Left = 56
          Top = 8
          Width = 47
          Height = 13
          Caption = 'Rx (MHz)'
        end
        object Label3: TLabel
          Left = 184
          Top = 8
          Width = 46
          Height = 13
          Caption = 'Tx (MHz)'
        end
        object Label15: TLabel
          Left = 315
          Top = 8
          Width = 61
          Height = 13
          Caption = 'CTCSS (Rx)'
        end
        object Label16: TLabel
          Left = 395
          Top = 8
          Width = 60
          Height = 13
          Caption = 'CTCSS (Tx)'
        end
        object ScrollBox1: TScrollBox
          Left = 8
          Top = 24
          Width = 481
          Height = 209
          TabOrder = 0
        end
        object Panel1: TPanel
          Left = 8
          Top = 240
          Width = 401
          Height = 25
          BevelInner = bvRaised
          BevelOuter = bvLowered
          Caption = 'Operating Range 33000 - 39975 kHz'
          TabOrder = 2
        end
        object Button8: TButton
          Left = 416
          Top = 240
          Width = 75
          Height = 25
          Caption = 'Write'
          Enabled = False
          TabOrder = 1
          OnClick = Button8Click
        end
      end
      object TabSheet2: TTabSheet
        Caption = 'Options'
        object Label4: TLabel
          Left = 13
          Top = 8
          Width = 78
          Height = 13
          Caption = 'Level Deviation'
        end
        object TrackBar1: TTrackBar
          Left = 11
          Top = 24
          Width = 150
          Height = 25
          Hint = 'Deviation Level'
          Max = 31
          Frequency = 1
          ShowHint = True
          TabOrder = 0
          ThumbLength = 15
          TickMarks = tmBottomRight
          TickStyle = tsAuto
          OnChange = TrackBar1Change
        end
        object Label9: TLabel
          Left = 163
          Top = 24
          Width = 17
          Height = 13
          Caption = 'Off'
        end
        object Label5: TLabel
          Left = 13
          Top = 56
          Width = 100
          Height = 13
          Caption = 'Speech Level'
          WordWrap = True
        end
        object TrackBar2: TTrackBar
          Left = 11
          Top = 72
          Width = 150
          Height = 25
          Hint = 'Speech Level'
          Max = 31
          Frequency = 1
          ShowHint = True
          TabOrder = 1
          ThumbLength = 15
          TickMarks = tmBottomRight
          TickStyle = tsAuto
          OnChange = TrackBar2Change
        end
        object Label10: TLabel
          Left = 163
          Top = 72
          Width = 17
          Height = 13
          Caption = 'Off'
        end
        object Label6: TLabel
          Left = 13
          Top = 104
          Width = 38
          Height = 13
          Caption = 'Gain on'
        end
        object TrackBar3: TTrackBar
          Left = 11
          Top = 120
          Width = 150
          Height = 25
          Hint = 'Gain on'
          Max = 31
          Frequency = 1
          ShowHint = True
          TabOrder = 2
          ThumbLength = 15
          TickMarks = tmBottomRight
          TickStyle = tsAuto
          OnChange = TrackBar3Change
        end
        object Label11: TLabel
          Left = 163
          Top = 120
          Width = 17
          Height = 13
          Caption = 'Off'
        end
        object Label7: TLabel
          Left = 13
          Top = 152
          Width = 121
          Height = 13
          Caption = 'Level CTCSS on transfer'
        end
        object TrackBar4: TTrackBar
          Left = 11
          Top = 168
          Width = 150
          Height = 25
          Hint = 'Level CTCSS on transfer'
          Max = 31
          Frequency = 1
          ShowHint = True
          TabOrder = 3
          ThumbLength = 15
          TickMarks = tmBottomRight
          TickStyle = tsAuto
          OnChange = TrackBar4Change
        end
        object Label12: TLabel
          Left = 163
          Top = 168
          Width = 17
          Height = 13
          Caption = 'Off'
        end
        object Label8: TLabel
          Left = 13
          Top = 200
          Width = 128
          Height = 13
          Caption = 'Level CTCSS on reception'
        end
        object TrackBar5: TTrackBar
          Left = 11
          Top = 216
          Width = 150
          Height = 25
          Hint = 'Level CTCSS on reception'
          Max = 31
          Frequency = 1
          ShowHint = True
          TabOrder = 4
          ThumbLength = 15
          TickMarks = tmBottomRight
          TickStyle = tsAuto
          OnChange = TrackBar5Change
        end
        object Label13: TLabel
          Left = 163
          Top = 216
          Width = 17
          Height = 13
          Caption = 'Off'
        end
        object Label17: TLabel
          Left = 212
          Top = 8
          Width = 35
          Height = 13
          Caption = 'Volume'
        end
        object TrackBar6: TTrackBar
          Left = 203
          Top = 24
          Width = 150
          Height = 25
          Max = 9
          Frequency = 1
          TabOrder = 5
          ThumbLength = 15
          TickMarks = tmBottomRight
          TickStyle = tsAuto
          OnChange = TrackBar6Change
        end
        object Label19: TLabel
          Left = 355
          Top = 24
          Width = 6
          Height = 13
          Caption = '0'
        end
        object Label18: TLabel
          Left = 212
          Top = 56
          Width = 79
          Height = 13
          Caption = 'Squelcher Level'
        end
        object TrackBar7: TTrackBar
          Left = 203
          Top = 72
          Width = 150
          Height = 25
          Max = 5
          Frequency = 1
          TabOrder = 6
          ThumbLength = 15
          TickMarks = tmBottomRight
          TickStyle = tsAuto
          OnChange = TrackBar7Change
        end
        object Label20: TLabel
          Left = 355
          Top = 72
          Width = 6
          Height = 13
          Caption = '0'
        end
        object Label21: TLabel
          Left = 212
          Top = 104
          Width = 85
          Height = 13
          Caption = 'Level analog SQL'
        end
        object TrackBar8: TTrackBar
          Left = 203
          Top = 120
          Width = 150
          Height = 25
          Max = 255
          Frequency = 1
          TabOrder = 8
          ThumbLength = 15
          TickMarks = tmBottomRight
          TickStyle = tsNone
          OnChange = TrackBar8Change
        end
        object Label22: TLabel
          Left = 355
          Top = 120
          Width = 6
          Height = 13
          Caption = '0'
        end
        object RadioGroup2: TRadioGroup
          Left = 208
          Top = 154
          Width = 153
          Height = 87
          Caption = ' Range '
          ItemIndex = 0
          Items.Strings = (
            '33000-39975 kHz'
            '40000-48500 kHz'
            '57000-57500 kHz'
            '66000-88000 kHz')
          TabOrder = 9
          OnClick = RadioGroup2Click
        end
        object Button7: TButton
          Left = 416
          Top = 240
          Width = 75
          Height = 25
          Caption = 'Write'
          Enabled = False
          TabOrder = 7
          OnClick = Button7Click
        end
      end
    end
    object Memo1: TMemo
      Left = 8
      Top = 320
      Width = 505
      Height = 177
      Color = clBtnFace
      ReadOnly = True
      ScrollBars = ssNone
      TabOrder = 0
    end
  end
  object MainMenu1: TMainMenu
    Left = 8
    Top = 288
    object N1: TMenuItem
      Caption = 'File'
      object N2: TMenuItem
        Caption = 'Open'
        OnClick = N2Click
      end
      object N3: TMenuItem
        Caption = 'Save'
        OnClick = N3Click
      end
      object N4: TMenuItem
        Caption = 'Save As...'
        OnClick = N4Click
      end
      object N5: TMenuItem
        Caption = '-'
      end
      object N6: TMenuItem
        Caption = 'Exit'
        OnClick = N6Click
      end
    end
    object N7: TMenuItem
      Caption = 'About'
      object N8: TMenuItem
        Caption = 'About'
        OnClick = N8Click
      end
    end
  end
  object OpenDialog1: TOpenDialog
    Filter = 'Tunes files (*.tun)|*.tun|All files (*.*)|*.*'
    InitialDir = '.'
    Title = 'Open settings file'
    Left = 40
    Top = 288
  end
  object SaveDialog1: TSaveDialog
    Filter = 'Tunes files (*.tun)|*.tun|All files (*.*)|*.*'
    InitialDir = '.'
    Title = 'Save settings file'
    Left = 72
    Top = 288
  end
end
